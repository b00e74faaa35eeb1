#include "startup.h"

#include "credits.h"
#include "script_player.h"
#include "vn_midi.h"

namespace Module1 {

void Main() {
  VN_Midi::PlayMidi("enka.mid");
  PlayScript();
  ClosingCredits();
}

}  // namespace Module1
