#include "sound/output_power.h"

#include <chrono>

namespace sound {

OutputPower::OutputPower(SDL_AudioDeviceID device, std::function<bool()> sounding)
    : device_(device), sounding_(std::move(sounding)) {
  if (device_) watcher_ = std::thread([this] { Watch(); });
}

OutputPower::~OutputPower() {
  if (!device_) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_all();
  watcher_.join();
  if (paused_) SDL_PauseAudioDevice(device_, 0);
}

void OutputPower::Run(const std::function<void()>& start) {
  std::lock_guard lock(mutex_);
  if (paused_) {
    SDL_PauseAudioDevice(device_, 0);
    paused_ = false;
  }
  start();  // under the lock: the watcher cannot pause between the two
}

bool OutputPower::paused() {
  std::lock_guard lock(mutex_);
  return paused_;
}

void OutputPower::Watch() {
  std::unique_lock lock(mutex_);
  int quiet = 0;
  for (;;) {
    if (stop_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stopping_; })) return;
    if (paused_) continue;
    // Silent for two looks in a row (a quarter to half a second): pause.
    quiet = sounding_() ? 0 : quiet + 1;
    if (quiet >= 2) {
      SDL_PauseAudioDevice(device_, 1);
      paused_ = true;
      quiet = 0;
    }
  }
}

}  // namespace sound
