#pragma once
// Where the toolkit's time comes from: milliseconds since the process started.
// Tests put a ManualClock in its place and run minutes of timers in no time.
#include <chrono>
#include <cstdint>

namespace rt {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() const = 0;
};

class SteadyClock final : public Clock {
 public:
  std::int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class ManualClock final : public Clock {
 public:
  std::int64_t NowMs() const override { return now_; }
  void Advance(std::int64_t ms) { now_ += ms; }
  void Set(std::int64_t ms) { now_ = ms; }

 private:
  std::int64_t now_ = 0;
};

}  // namespace rt
