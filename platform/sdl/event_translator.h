#pragma once
// SDL's events as the toolkit's: key releases with the original platform's
// key codes and shift state (the full-screen keys taken on the way), a game
// controller's button released as a key released, left-button presses and
// releases in the design's pixels, the window's close, focus and exposure,
// the quit, and the platform's own wake.
#include <SDL.h>

#include "platform/sdl/shortcut_keys.h"
#include "toolkit/platform.h"

namespace sdl {

class Controllers;
class WindowSystem;

class EventTranslator {
 public:
  EventTranslator(WindowSystem& windows, Uint32 wake_event) : windows_(windows), wake_event_(wake_event) {}

  // True when `in` was taken (`out` then says what it was for the toolkit,
  // or nothing); controllers plugged in or out are told to `controllers`.
  bool Translate(const SDL_Event& in, tk::Event& out, Controllers* controllers);

 private:
  WindowSystem& windows_;
  const Uint32 wake_event_;
  ShortcutKeys keys_;
};

}  // namespace sdl
