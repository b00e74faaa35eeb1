#include "demo/form1.h"

#include "demo/artwork.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/trace.h"
#include "toolkit/toolkit.h"

using tk::Rgb;

Form1::Form1() : tk::Form("Form1") {
  Add(Timer1, "Timer1");
  Add(Timer2, "Timer2");
  Add(Shape2, "Shape2");
  for (int k = kLastSpeaker; k >= 0; --k) Add(Image4[k], "Image4(" + std::to_string(k) + ")");
  Add(Image3, "Image3");
  Add(Shape1, "Shape1");
  Add(Label3, "Label3");
  Add(Label2, "Label2");
  Add(Label1, "Label1");
  Add(Image2, "Image2");
  Add(Image1, "Image1");
}

namespace {

tk::FontSpec Gothic(int weight) { return {"ＭＳ ゴシック", 9.75, weight, false, false, 128}; }

}  // namespace

void Form1::DesignPageLabel(tk::Label& label, std::string caption) {
  label.Design(true, {4800, 720, 4215, 3975}, {.caption = std::move(caption), .font = Gothic(400), .border = true});
}

void Form1::LoadDesign() {
  caption = "Dizorir Oza Dozivuvo  Radaded 2K";
  client_width = 9105;
  client_height = 4770;
  borderless = false;
  back_color = tk::kButtonFace;
  icon = artwork::Portrait(1);

  Timer1.Design(500, true);
  Timer2.Design(0, false);
  Shape2.Design(false, {120, 960, 4575, 3015},
                {.border_color = tk::kWindowText, .fill = tk::Shape::Fill::kDiagonalCross, .fill_color = Rgb{192, 255, 255}});
  for (int k = 0; k <= kLastSpeaker; ++k) Image4[k].Design(true, {480.0 + 600 * k, 5040, 480, 480}, artwork::Portrait(k));
  Image3.Design(true, {4080, 4200, 480, 480}, artwork::PageTurn());
  Shape1.Design(true, {720, 240, 3255, 615}, {.border_color = Rgb{255, 0, 0}});
  Label3.Design(true, {240, 360, 4335, 375},
                {.caption = "R a d a d e d   2 K",
                 .font = {"MS Sans Serif", 18, 700, true, true, 0},
                 .fore = Rgb{0, 128, 128},
                 .centred = true});
  Label2.Design(true, {5400, 240, 3495, 375}, {.caption = {}, .font = Gothic(700), .border = true});
  DesignPageLabel(Label1);
  Image2.Design(true, {4800, 120, 480, 480}, nullptr);
  Image1.Design(true, {120, 960, 4530, 3030}, nullptr, true);
}

namespace {

constexpr rt::Integer vbKeyPageUp = 33;

// The page before, when the story shows a page and has one before it.
void GoBack() {
  rt::trace::Input("back");
  Module1::ReaderGoesBack = true;
  Module1::WaitingForReader = rt::False;
}

}  // namespace

void Form1::Form_KeyUp(rt::Integer key_code, rt::Integer) {
  if (key_code == vbKeyPageUp) return GoBack();
  Module1::WaitingForReader = rt::False;
}

void Form1::Form_MouseWheel(int steps) {
  if (steps > 0) return GoBack();
  Module1::WaitingForReader = rt::False;
}

// The page showing, its speaker's name on a line before it, with the line
// ends of the system the clipboard is read on.
void Form1::Form_Copy() {
  std::string text = Label2.Caption().empty() ? "" : Label2.Caption() + "\n";
  for (char c : Label1.Caption())
    if (c != '\r') text += c;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  tk::Toolkit::Get().platform().SetClipboardText(text);
}

void Form1::Click(tk::Control& control) {
  if (&control == &Image3) Module1::WaitingForReader = rt::False;
}

void Form1::Form_QueryUnload(rt::Integer&, rt::Integer) {
  VN_Midi::StopMidi();
  tk::Toolkit::Get().End();
}

void Form1::Tick(tk::Timer& timer) {
  if (&timer == &Timer1) VN_Midi::CheckMidiLoop();
  if (&timer == &Timer2) {  // the page timer: the page turns by itself
    Timer2.SetEnabled(false);
    rt::trace::Input("auto");
    Module1::WaitingForReader = rt::False;
  }
}
