#include "platform/sdl/controllers.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "runtime/notice.h"

namespace sdl {
namespace {

// SDL opens the input devices it finds there (event*, js*) with a blocking
// open, on the thread that asks: a node that is no character device (a FIFO
// left by a script) would hang it for good. False, said, when there is one.
bool OnlyDevices(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("event", 0) != 0 && name.rfind("js", 0) != 0) continue;
    struct stat st;
    if (::stat(entry.path().c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) {
      rt::Notice("game controllers are off: %s is no device", entry.path().c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

Controllers::Controllers(void (*wake)(), std::string folder) : folder_(std::move(folder)) {
  // SDL looks at the joysticks only when told (Update), never from its wait.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  // The story is all a controller drives here: its buttons count even when
  // no window of the program has the keyboard (a bare X server gives none).
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (!OnlyDevices(folder_)) return;
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!ready_) return;
  watcher_ = std::make_unique<DeviceWatcher>(folder_, [this, wake] {
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
  if (!ready_ || !news_.exchange(false)) return;
  // Something was plugged in or out: SDL looks at the folder again, which
  // is safe only while every node in it is a device.
  if (!OnlyDevices(folder_)) {
    watcher_.reset();
    open_.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    ready_ = false;
    return;
  }
  SDL_GameControllerUpdate();
}

}  // namespace sdl
