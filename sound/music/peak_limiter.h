#pragma once
// Brings the synthesiser's samples to 16 bits without clipping: a loud
// passage (General MIDI files that stack many voices at full velocity) is
// turned down at once by as much as it needs, and the level comes back up
// over a quarter of a second. Everything quieter passes unchanged.
#include <cstdint>

namespace sound {

class PeakLimiter {
 public:
  // The highest sample written, of 32767.
  static constexpr float kCeiling = 32000.0f / 32768.0f;

  explicit PeakLimiter(int sample_rate);

  // Converts interleaved stereo frames at full scale 1.0 to 16 bits.
  void Convert(const float* stereo, int frames, std::int16_t* out);
  // A new tune starts at full level.
  void Reset() { gain_ = 1.0f; }
  float gain() const { return gain_; }

 private:
  float gain_ = 1.0f;
  float release_;  // the part of the way back to full level taken each frame
};

}  // namespace sound
