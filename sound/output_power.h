#pragma once
// Keeps the audio output open only while something sounds: when no tune,
// tail or effect has been heard for two seconds, the output is put to sleep
// (closed), so that an idle program does no audio work at all; whatever
// starts a sound does so through Run, which wakes the output first. The
// pauses between passes of a looping tune are shorter: the output stays on.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace sound {

class OutputPower {
 public:
  struct Hooks {
    std::function<bool()> sounding;  // anything to be heard now
    std::function<void()> sleep;     // closes the output
    std::function<bool()> wake;      // opens it again; false when it cannot
  };
  // Without hooks (no audio output), Run only runs.
  explicit OutputPower(Hooks hooks = {});
  ~OutputPower();
  OutputPower(const OutputPower&) = delete;
  OutputPower& operator=(const OutputPower&) = delete;

  // Runs `start` (which starts a sound) with the output awake.
  void Run(const std::function<void()>& start);
  // Run on `power`, or straight away when there is none (no audio output).
  static void RunOn(OutputPower* power, const std::function<void()>& start) {
    if (power) power->Run(start);
    else start();
  }
  // Runs `look` (which may ask the output what it plays) only while the
  // output is awake.
  void IfAwake(const std::function<void()>& look);
  bool asleep();

  static constexpr int kLookMs = 250;
  static constexpr int kQuietLooks = 8;  // two seconds of silence

 private:
  void Watch();

  const Hooks hooks_;
  std::mutex mutex_;
  std::condition_variable changed_;  // stopping, or the output woken
  bool stopping_ = false;
  bool asleep_ = false;
  std::thread watcher_;
};

}  // namespace sound
