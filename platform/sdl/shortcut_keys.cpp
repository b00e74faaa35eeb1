#include "platform/sdl/shortcut_keys.h"

#include <algorithm>

namespace sdl {

ShortcutKeys::Action ShortcutKeys::Key(const SDL_KeyboardEvent& key) {
  const SDL_Keycode code = key.keysym.sym;
  const bool taken = std::find(taken_.begin(), taken_.end(), code) != taken_.end();
  if (key.type == SDL_KEYUP) {
    if (!taken) return Action::kPass;
    std::erase(taken_, code);
    return Action::kTake;
  }
  if (key.repeat) return taken ? Action::kTake : Action::kPass;
  const Uint16 mod = key.keysym.mod;
  const Uint16 alt = mod & KMOD_ALT, ctrl = mod & KMOD_CTRL;
  const bool enter = code == SDLK_RETURN || code == SDLK_KP_ENTER;
  const bool full_screen = code == SDLK_F11 || (enter && alt);
  const bool copy = code == SDLK_c && ctrl && !alt;
  if (!full_screen && !copy) return Action::kPass;
  auto take = [this](SDL_Keycode k) {
    if (std::find(taken_.begin(), taken_.end(), k) == taken_.end()) taken_.push_back(k);
  };
  take(code);
  if (copy && (ctrl & KMOD_LCTRL)) take(SDLK_LCTRL);
  if (copy && (ctrl & KMOD_RCTRL)) take(SDLK_RCTRL);
  if (!copy && enter && (alt & KMOD_LALT)) take(SDLK_LALT);
  if (!copy && enter && (alt & KMOD_RALT)) take(SDLK_RALT);
  return copy ? Action::kCopy : Action::kFullScreen;
}

}  // namespace sdl
