#pragma once
// How long a tune rings on after its last event: until its voices have
// ended and the reverb has died away below -78 dB, or for 3 s at most once
// the voices have ended. The same rule ends a tune rendered into memory and
// a tune synthesised as it plays.
#include <algorithm>
#include <cstdint>

namespace sound {

class ReverbTail {
 public:
  static constexpr int kMaxSeconds = 3;
  static constexpr std::int16_t kQuiet = 4;  // of 32767: -78 dB

  explicit ReverbTail(int sample_rate = 0) : max_frames_(long{kMaxSeconds} * sample_rate) {}

  // Called for each block synthesised after the one that played the last
  // event, with whether a voice still sounds after it: true once the tail
  // has ended.
  bool Over(const std::int16_t* stereo, int frames, bool voices) {
    if (voices) {
      since_voices_ = 0;
      return false;
    }
    since_voices_ += frames;
    return since_voices_ >= max_frames_ ||
           std::all_of(stereo, stereo + 2 * frames, [](std::int16_t v) { return v >= -kQuiet && v <= kQuiet; });
  }

 private:
  long max_frames_;
  long since_voices_ = 0;
};

}  // namespace sound
