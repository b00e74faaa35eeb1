#include "startup.h"

#include "credits.h"
#include "forms.h"
#include "script_player.h"
#include "toolkit.h"
#include "vm_demo.h"
#include "vn_midi.h"

namespace Module1 {

void Main() {
  // The intro runs until its window is gone, by its own last tick or otherwise.
  VmDemo& intro = Forms::VmDemo();
  intro.Show();
  do {
    tk::Toolkit::Get().DoEvents();
  } while (intro.Visible());
  intro.Unload();

  VN_Midi::PlayMidi("enka.mid");
  PlayScript();
  ClosingCredits();
}

}  // namespace Module1
