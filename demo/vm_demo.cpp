#include "demo/vm_demo.h"

#include <cmath>

#include "demo/artwork.h"
#include "demo/story_files.h"
#include "demo/vn_midi.h"
#include "runtime/runtime_error.h"
#include "toolkit/toolkit.h"

using tk::Rgb;

VmDemo::VmDemo(std::function<void(VmDemo&)> on_tick) : tk::Form("VmDemo"), on_tick_(std::move(on_tick)) {
  Add(Timer1, "Timer1");
  Add(Label3, "Label3");
  Add(Label2, "Label2");
  Add(Label1, "Label1");
  Add(Line1[2], "Line1(2)");
  Add(Line2[2], "Line2(2)");
  Add(Line2[1], "Line2(1)");
  Add(Line2[0], "Line2(0)");
  Add(Line1[1], "Line1(1)");
  Add(Line1[0], "Line1(0)");
  Add(Image1[2], "Image1(2)");
  Add(Image1[1], "Image1(1)");
  Add(Image1[0], "Image1(0)");
}

namespace {

constexpr Rgb kRed{255, 0, 0}, kMagenta{255, 0, 255}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

void Design(tk::Label& l, double left, double top, double width, double height, const char* caption, Rgb fore,
            tk::FontSpec font) {
  l.Design(false, {left, top, width, height}, {.caption = caption, .font = std::move(font), .fore = fore, .opaque = false});
}

void Design(tk::Line& l, double x1, double y1, double x2, double y2, Rgb colour, bool merge = false) {
  l.Design(false, {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .color = colour, .width = 3, .merge_pen = merge});
}

void Design(tk::Image& i, double left, double top, pic::Picture picture) {
  i.Design(true, {left, top, 0, 0}, std::move(picture));
}

}  // namespace

void VmDemo::LoadDesign() {
  caption = "Vevazed Izi";
  client_width = 4890;
  client_height = 2355;
  borderless = true;
  back_color = kBlack;
  icon = artwork::IntroIcon();

  Timer1.Design(50, true);

  Design(Label1, 840, 1800, 1335, 615, "didudo", kRed, {"MS Sans Serif", 24, 400, false, false, 0});
  Design(Label2, 3000, 1800, 495, 615, "et", kMagenta, {"MS Sans Serif", 24, 400, false, false, 0});
  Design(Label3, 3600, 1920, 1215, 375, "Software", kBlue, {"MS Sans Serif", 13.5, 700, false, false, 0});
  Design(Line1[0], 480, 1200, 120, 2160, kRed);
  Design(Line1[1], 480, 1200, 840, 2160, kRed);
  Design(Line1[2], 360, 1800, 2400, 1800, kRed, true);
  Design(Line2[0], 2280, 2160, 2520, 1680, kMagenta);
  Design(Line2[1], 2520, 1680, 2760, 2160, kMagenta);
  Design(Line2[2], 2760, 2160, 3120, 1200, kMagenta);
  Design(Image1[0], 6240, 120, artwork::Flying());
  Design(Image1[1], 5280, 240, artwork::Landing());
  Design(Image1[2], 6480, 1680, artwork::WingsUp());
}

std::int32_t CentredEdge(float screen, float window) {
  const float difference = screen - window;
  if (!std::isfinite(difference)) rt::Raise(rt::kOverflow);
  return rt::CLng(difference) / 2;
}

void VmDemo::Form_Activate() {
  auto& toolkit = tk::Toolkit::Get();
  SetLeft(static_cast<float>(CentredEdge(static_cast<float>(toolkit.ScreenWidth()), static_cast<float>(Width()))));
  SetTop(static_cast<float>(CentredEdge(static_cast<float>(toolkit.ScreenHeight()), static_cast<float>(Height()))));
  VN_Midi::PlayMidi(kIntroTune);
  TickCount = 0;
  SpriteLeft = 5000;
  SpriteTop = 0;
}

void VmDemo::Tick(tk::Timer& timer) {
  if (&timer == &Timer1 && on_tick_) on_tick_(*this);
}
