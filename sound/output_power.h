#pragma once
// Keeps the audio output running only while something sounds: when no tune,
// tail or effect has been heard for a moment, the output device is paused,
// so that an idle program does no audio work; whatever starts a sound does so
// through Run, which wakes the output first.
#include <SDL_audio.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace sound {

class OutputPower {
 public:
  // device 0: no output to pause (Run only runs).
  OutputPower(SDL_AudioDeviceID device, std::function<bool()> sounding);
  ~OutputPower();
  OutputPower(const OutputPower&) = delete;
  OutputPower& operator=(const OutputPower&) = delete;

  // Runs `start` (which starts a sound) with the output running.
  void Run(const std::function<void()>& start);
  bool paused();

 private:
  void Watch();

  const SDL_AudioDeviceID device_;
  const std::function<bool()> sounding_;
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  bool paused_ = false;
  std::thread watcher_;
};

}  // namespace sound
