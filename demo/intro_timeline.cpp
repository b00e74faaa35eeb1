#include "demo/intro_timeline.h"

#include "demo/story_files.h"
#include "demo/vm_demo.h"
#include "demo/vn_midi.h"
#include "demo/vn_wav.h"

namespace {

constexpr rt::Integer kFlyStep = 150;
constexpr rt::Integer kBob = 20;
constexpr rt::Integer kDescentStep = 50;
constexpr double kParked = 5000;
constexpr int kHoldInterval = 3000;

void Show(std::array<tk::Line, 3>& lines, tk::Label& label) {
  for (auto& line : lines) line.SetVisible(true);
  label.SetVisible(true);
}

// Moves a pose to the character's place: top first, then left, as the landing does.
void Descend(VmDemo& f, tk::Image& pose) {
  f.SpriteTop = rt::AddInteger(f.SpriteTop, kDescentStep);
  pose.SetTop(f.SpriteTop);
  pose.SetLeft(f.SpriteLeft);
}

}  // namespace

void IntroTick(VmDemo& f) {
  f.TickCount = rt::AddInteger(f.TickCount, 1);
  const rt::Integer n = f.TickCount;
  if (n == 1) {
    VN_WAV::PlayWav(kIntroEffect);
  } else if (n == 2) {
    Show(f.Line1, f.Label1);
  } else if (n >= 2 && n <= 28) {
    f.SpriteLeft = rt::AddInteger(f.SpriteLeft, -kFlyStep);
    f.Image1[0].SetLeft(f.SpriteLeft);
    f.Image1[0].SetTop(f.SpriteTop);
    f.SpriteTop = f.SpriteTop == 0 ? kBob : 0;
  } else if (n == 30) {
    f.Image1[0].SetLeft(kParked);
    Show(f.Line2, f.Label2);
  } else if (n >= 30 && n <= 35) {
    Descend(f, f.Image1[2]);
  } else if (n == 36) {
    f.Image1[2].SetLeft(kParked);
    f.Label3.SetVisible(true);
  } else if (n >= 36 && n <= 42) {
    Descend(f, f.Image1[1]);
  } else if (n == 45) {
    f.Timer1.SetInterval(kHoldInterval);
  } else if (n == 46) {
    f.Timer1.SetEnabled(false);
    VN_Midi::StopMidi();
    f.Unload();
  }
}
