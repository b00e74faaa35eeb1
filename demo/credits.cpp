#include "demo/credits.h"

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/read_aloud.h"
#include "demo/story_files.h"
#include "demo/text_hook.h"
#include "demo/vn_midi.h"
#include "toolkit/toolkit.h"

namespace Module1 {
namespace {

constexpr char kTitle[] = "Radaded 2K  スタッフ";
constexpr char kBody[] =
    "原作:ziz☆\r\n\r\n"
    "C G :ziz☆\r\n\r\n"
    "音楽:ziz☆\r\n\r\n"
    "プログラム:ZIVido社長\u3000dav氏\r\n\r\n"
    "製作著作\r\n"
    " ";

}  // namespace

void ClosingCredits() {
  VN_Midi::StopMidi();
  VN_Midi::PlayMidi(kClosingTune);
  Form1& form = Forms::Form1();
  form.Shape2.SetVisible(true);
  form.Image2.SetPicture(nullptr, "");
  form.Label2.SetCaption(kTitle);
  form.Label1.SetCaption(kBody);
  ReadAloud::Page(kTitle, kBody);
  TextHook::Page(kTitle, kBody);
  if (!VN_Midi::IsMidiPlaying()) return;
  for (;;) {
    if (!VN_Midi::IsMidiPlaying()) tk::Toolkit::Get().End();
    tk::Toolkit::Get().DoEvents();
  }
}

}  // namespace Module1
