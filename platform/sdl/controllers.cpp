#include "platform/sdl/controllers.h"

#include <algorithm>

namespace sdl {

Controllers::Controllers(void (*wake)()) {
  // SDL looks at the joysticks only when told (Update), never from its wait.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  // The story is all a controller drives here: its buttons count even when
  // no window of the program has the keyboard (a bare X server gives none).
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!ready_) return;
  watcher_ = std::make_unique<DeviceWatcher>("/dev/input", [this, wake] {
    news_ = true;
    wake();
  });
}

Controllers::~Controllers() {
  watcher_.reset();
  open_.clear();
  if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Controllers::Added(int device_index) {
  if (!ready_) return;
  GameControllerPtr controller(SDL_GameControllerOpen(device_index));
  if (!controller) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller.get()));
  for (const Open& o : open_)
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(o.controller.get())) == id) return;
  const char* path = SDL_GameControllerPath(controller.get());
  open_.push_back({std::move(controller), path ? path : ""});
  if (!open_.back().path.empty()) watcher_->Watch(open_.back().path);
}

void Controllers::Removed(SDL_JoystickID instance) {
  std::erase_if(open_, [&](const Open& o) {
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(o.controller.get())) != instance) return false;
    if (!o.path.empty()) watcher_->Forget(o.path);
    return true;
  });
}

void Controllers::Update() {
  if (ready_ && news_.exchange(false)) SDL_GameControllerUpdate();
}

}  // namespace sdl
