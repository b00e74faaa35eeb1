#include "demo/form1.h"

#include "demo/artwork.h"
#include "demo/forms.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "toolkit/toolkit.h"

using tk::Rgb;

Form1::Form1() : tk::Form("Form1") {
  Add(Timer1, "Timer1");
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

void Place(tk::Image& image, double left, double top, double width, double height, tk::Picture picture,
           bool border = false) {
  image.visible = true;
  image.left = left, image.top = top, image.width = width, image.height = height;
  image.border = border;
  image.picture = std::move(picture);
}

void Place(tk::Label& label, double left, double top, double width, double height) {
  label.visible = true;
  label.left = left, label.top = top, label.width = width, label.height = height;
  label.caption.clear();
}

tk::FontSpec Gothic(int weight) { return {"ＭＳ ゴシック", 9.75, weight, false, false, 128}; }

}  // namespace

void Form1::DesignPageLabel(tk::Label& label) {
  Place(label, 4800, 720, 4215, 3975);
  label.font = Gothic(400);
  label.border = true;
}

void Form1::LoadDesign() {
  caption = "Dizorir Oza Dozivuvo  Radaded 2K";
  client_width = 9105;
  client_height = 4770;
  borderless = false;
  back_color = tk::kButtonFace;
  icon = artwork::Portrait(1);

  Timer1.interval = 500;
  Timer1.enabled = true;

  Shape2.visible = false;
  Shape2.left = 120, Shape2.top = 960, Shape2.width = 4575, Shape2.height = 3015;
  Shape2.border_color = tk::kWindowText;
  Shape2.border_width = 1;
  Shape2.fill = tk::Shape::Fill::kDiagonalCross;
  Shape2.fill_color = Rgb{192, 255, 255};

  for (int k = 0; k <= kLastSpeaker; ++k) Place(Image4[k], 480 + 600 * k, 5040, 480, 480, artwork::Portrait(k));
  Place(Image3, 4080, 4200, 480, 480, artwork::PageTurn());

  Shape1.visible = true;
  Shape1.left = 720, Shape1.top = 240, Shape1.width = 3255, Shape1.height = 615;
  Shape1.border_color = Rgb{255, 0, 0};
  Shape1.border_width = 1;
  Shape1.fill = tk::Shape::Fill::kTransparent;

  Place(Label3, 240, 360, 4335, 375);
  Label3.caption = "R a d a d e d   2 K";
  Label3.font = {"MS Sans Serif", 18, 700, true, true, 0};
  Label3.fore = Rgb{0, 128, 128};
  Label3.centred = true;

  Place(Label2, 5400, 240, 3495, 375);
  Label2.font = Gothic(700);
  Label2.border = true;

  DesignPageLabel(Label1);

  Place(Image2, 4800, 120, 480, 480, nullptr);
  Place(Image1, 120, 960, 4530, 3030, nullptr, true);
}

void Form1::Form_KeyUp(tk::Integer, tk::Integer) { Module1::WaitingForReader = tk::False; }

void Form1::Click(tk::Control& control) {
  if (&control == &Image3) Module1::WaitingForReader = tk::False;
}

void Form1::Form_QueryUnload(tk::Integer&, tk::Integer) {
  VN_Midi::StopMidi();
  tk::Toolkit::Get().End();
}

void Form1::Tick(tk::Timer& timer) {
  if (&timer == &Timer1) VN_Midi::CheckMidiLoop();
}

namespace Forms {
::Form1& Form1() {
  static ::Form1 form;
  return form;
}
}  // namespace Forms
