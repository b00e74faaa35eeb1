#pragma once
// The windows of the SDL back end, and what they share: the display scale
// (screen pixels per design pixel), whether they cover the screen (F11,
// Alt+Enter, --fullscreen), and which windows there are.
#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/sdl/sdl_ptrs.h"
#include "toolkit/platform.h"

namespace sdl {

class SdlWindow;

class WindowSystem {
 public:
  WindowSystem(int scale, bool full_screen) : scale_(scale), full_screen_(full_screen) {}
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  int scale() const { return scale_; }
  bool full_screen() const { return full_screen_; }

  std::unique_ptr<tk::HostWindow> Create(const tk::WindowSpec& design);
  // Every window shown covers the screen, or goes back where it was.
  void SetFullScreen(bool on);
  // The window a controller's buttons go to: the one with the keyboard's
  // focus, else the last one shown; 0 for none.
  Uint32 ControllerWindow() const;
  // A point of a window's client area in its design's pixels, as last
  // painted; -1, -1 off the design (the black around it in full screen).
  void ToDesign(Uint32 window, int& x, int& y) const;

 private:
  friend class SdlWindow;
  const int scale_;
  bool full_screen_;
  std::vector<SdlWindow*> live_;  // every window not yet parked, oldest first
  // Windows of unloaded forms, hidden until the platform shuts down. SDL
  // wakes a waiting event loop from other threads by sending a message to
  // one of its windows, and a window destroyed meanwhile turns that into an
  // X error that ends the process; so no window is destroyed while the
  // program runs.
  std::vector<WindowPtr> parked_;
};

}  // namespace sdl
