#pragma once
// The keys that toggle full screen (F11, and Alt+Enter) and the releases that
// belong to them. Every other key release turns a page; these are taken by
// the toggle: the toggling key's own release, and after Alt+Enter the Alt
// key's too.
#include <SDL.h>

#include <vector>

namespace sdl {

class FullScreenKeys {
 public:
  enum class Action {
    kPass,    // an ordinary key event
    kToggle,  // a press that toggles full screen
    kTake,    // a release (or repeat) that belongs to a toggle
  };
  Action Key(const SDL_KeyboardEvent& key);

 private:
  std::vector<SDL_Keycode> taken_;  // pressed for a toggle, not yet released
};

}  // namespace sdl
