#include "platform/sdl/full_screen_keys.h"

#include <algorithm>

namespace sdl {

FullScreenKeys::Action FullScreenKeys::Key(const SDL_KeyboardEvent& key) {
  const SDL_Keycode code = key.keysym.sym;
  const bool taken = std::find(taken_.begin(), taken_.end(), code) != taken_.end();
  if (key.type == SDL_KEYUP) {
    if (!taken) return Action::kPass;
    std::erase(taken_, code);
    return Action::kTake;
  }
  if (key.repeat) return taken ? Action::kTake : Action::kPass;
  const Uint16 alt = key.keysym.mod & KMOD_ALT;
  const bool enter = code == SDLK_RETURN || code == SDLK_KP_ENTER;
  if (code != SDLK_F11 && !(enter && alt)) return Action::kPass;
  auto take = [this](SDL_Keycode k) {
    if (std::find(taken_.begin(), taken_.end(), k) == taken_.end()) taken_.push_back(k);
  };
  take(code);
  if (enter && (alt & KMOD_LALT)) take(SDLK_LALT);
  if (enter && (alt & KMOD_RALT)) take(SDLK_RALT);
  return Action::kToggle;
}

}  // namespace sdl
