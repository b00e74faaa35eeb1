#pragma once
// VmDemo, the black intro window: the maker's logo is built up while a winged
// character flies in and lands, to the intro tune; the window unloads itself
// after its 46th tick.
#include <array>
#include <cstdint>
#include <functional>

#include "runtime/integer.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

class VmDemo final : public tk::Form {
 public:
  // `on_tick` is the timeline, run on each tick of Timer1.
  explicit VmDemo(std::function<void(VmDemo&)> on_tick);

  tk::Timer Timer1;
  // Front to back.
  tk::Label Label3;                // "Software"
  tk::Label Label2;                // "et"
  tk::Label Label1;                // "didudo"
  std::array<tk::Line, 3> Line1;   // the red initial
  std::array<tk::Line, 3> Line2;   // the magenta N
  std::array<tk::Image, 3> Image1; // the character: flying, upright, wings raised

  // Shared by the activation handler and the timeline.
  rt::Integer TickCount = 0;
  rt::Integer SpriteLeft = 0;
  rt::Integer SpriteTop = 0;

  void Form_Activate() override;
  void Tick(tk::Timer& timer) override;

 protected:
  void LoadDesign() override;

 private:
  std::function<void(VmDemo&)> on_tick_;
};

// Where a window's edge goes to centre it: the difference of the two sizes
// (single precision) rounded half to even, then halved toward zero. Raises
// error 6 when the difference is no number or beyond 32 bits.
std::int32_t CentredEdge(float screen, float window);
