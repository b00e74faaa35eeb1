#include "sound/music/peak_limiter.h"

#include <algorithm>
#include <cmath>

namespace sound {

PeakLimiter::PeakLimiter(int sample_rate)
    : release_(1.0f - std::exp(-1.0f / (0.25f * static_cast<float>(std::max(sample_rate, 1))))) {}

void PeakLimiter::Convert(const float* stereo, int frames, std::int16_t* out) {
  for (int i = 0; i < frames; ++i) {
    const float left = stereo[2 * i], right = stereo[2 * i + 1];
    gain_ += (1.0f - gain_) * release_;
    const float peak = std::max(std::fabs(left), std::fabs(right)) * gain_;
    if (peak > kCeiling) gain_ *= kCeiling / peak;
    for (int c = 0; c < 2; ++c) {
      const float v = std::clamp((c ? right : left) * gain_ * 32768.0f, -32767.0f, 32767.0f);
      out[2 * i + c] = static_cast<std::int16_t>(std::lrint(v));
    }
  }
}

}  // namespace sound
