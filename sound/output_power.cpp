#include "sound/output_power.h"

#include <chrono>

namespace sound {

OutputPower::OutputPower(Hooks hooks) : hooks_(std::move(hooks)) {
  if (hooks_.sounding) watcher_ = std::thread([this] { Watch(); });
}

OutputPower::~OutputPower() {
  if (!watcher_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  watcher_.join();
  if (asleep_) hooks_.wake();  // the owner closes what it opened
}

void OutputPower::Run(const std::function<void()>& start) {
  std::lock_guard lock(mutex_);
  if (asleep_ && hooks_.wake()) {
    asleep_ = false;
    changed_.notify_all();
  }
  start();  // under the lock: the watcher cannot put the output to sleep meanwhile
}

void OutputPower::IfAwake(const std::function<void()>& look) {
  std::lock_guard lock(mutex_);
  if (!asleep_) look();
}

bool OutputPower::asleep() {
  std::lock_guard lock(mutex_);
  return asleep_;
}

void OutputPower::Watch() {
  std::unique_lock lock(mutex_);
  int quiet = 0;
  for (;;) {
    // Asleep, it waits for whatever wakes the output, and looks at nothing.
    if (asleep_) changed_.wait(lock, [this] { return stopping_ || !asleep_; });
    if (changed_.wait_for(lock, std::chrono::milliseconds(kLookMs), [this] { return stopping_; })) return;
    if (asleep_) continue;
    quiet = hooks_.sounding() ? 0 : quiet + 1;
    if (quiet >= kQuietLooks) {
      hooks_.sleep();
      asleep_ = true;
      quiet = 0;
    }
  }
}

}  // namespace sound
