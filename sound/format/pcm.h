#pragma once
// The sound the program makes: interleaved 16-bit stereo frames, at the rate
// the audio device gives (44.1 kHz asked for).
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sound {

inline constexpr int kPreferredRate = 44100;
inline constexpr int kChannels = 2;
inline constexpr std::size_t kFrameBytes = kChannels * sizeof(std::int16_t);

inline void Silence(std::int16_t* stereo, std::size_t frames) { std::memset(stereo, 0, frames * kFrameBytes); }

}  // namespace sound
