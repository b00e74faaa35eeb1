#pragma once
// The shortcuts that are no page turn: F11 and Alt+Enter toggle full screen,
// Ctrl+C copies the page. Every other key release turns a page; these are
// taken by the shortcut: its key's own release, and the modifier's (Alt,
// Ctrl) pressed with it.
#include <SDL.h>

#include <vector>

namespace sdl {

class ShortcutKeys {
 public:
  enum class Action {
    kPass,        // an ordinary key event
    kFullScreen,  // a press that toggles full screen
    kCopy,        // a press that copies the page
    kTake,        // a release (or repeat) that belongs to a shortcut
  };
  Action Key(const SDL_KeyboardEvent& key);

 private:
  std::vector<SDL_Keycode> taken_;  // pressed for a shortcut, not yet released
};

}  // namespace sdl
