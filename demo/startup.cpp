#include "demo/startup.h"

#include "demo/credits.h"
#include "demo/forms.h"
#include "demo/script_player.h"
#include "demo/story_files.h"
#include "demo/services.h"
#include "demo/vm_demo.h"
#include "demo/vn_midi.h"
#include "toolkit/toolkit.h"

namespace Module1 {

void Main() {
  // The intro runs until its window is gone, by its own last tick or
  // otherwise; a story started at a line of its own has none.
  if (!Wired().start.line) {
    VmDemo& intro = Forms::VmDemo();
    intro.Show();
    do {
      tk::Toolkit::Get().DoEvents();
    } while (intro.Visible());
    intro.Unload();
  }

  VN_Midi::PlayMidi(kStoryTune);
  PlayScript();
  ClosingCredits();
}

}  // namespace Module1
