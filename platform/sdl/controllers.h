#pragma once
// Game controllers through SDL's game-controller API, plugged in before the
// start or while the program runs: each is opened as SDL announces it (a
// controller reports its buttons only once open) and closed when unplugged.
//
// SDL would look at the controllers itself, from its event wait: every 3 s
// with none attached, every millisecond with one. Here it looks only when
// there is news, so that a program with no controller never wakes for them:
// a thread sleeps on the input devices' folder (something plugged in or
// out) and on the open controllers' own devices (a button), and wakes the
// event loop, which then lets SDL read them.
#include <SDL.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/device_watcher.h"
#include "platform/sdl/sdl_ptrs.h"

namespace sdl {

class Controllers {
 public:
  // Starts SDL's controller subsystem (nothing happens without it); `wake`
  // is called from the watching thread when there is news.
  // `folder` is where the input devices are.
  explicit Controllers(void (*wake)(), std::string folder = "/dev/input");
  ~Controllers();
  Controllers(const Controllers&) = delete;
  Controllers& operator=(const Controllers&) = delete;

  // What SDL's device events say.
  void Added(int device_index);
  void Removed(SDL_JoystickID instance);
  // Lets SDL read the controllers when the watcher saw news (the event
  // thread, before it takes events): their events join SDL's queue.
  void Update();

 private:
  struct Open {
    GameControllerPtr controller;
    std::string path;  // its device, empty when it has none (a virtual one)
  };
  const std::string folder_;
  std::vector<Open> open_;
  std::atomic<bool> news_ = false;
  bool ready_ = false;  // SDL's controller subsystem is up

 public:
  bool ready() const { return ready_; }
  std::unique_ptr<DeviceWatcher> watcher_;
};

}  // namespace sdl
