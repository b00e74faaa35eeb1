#pragma once
// Checks a WAV file before any decoder sees it: RIFF (little-endian) or RIFX
// (big-endian), every chunk inside the file, a "fmt " chunk of a known
// encoding with sane channels, bits and sample rate, and a "data" chunk that
// lies inside the file and holds at most a minute of sound.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace sound {

struct WavFormat {
  unsigned encoding = 0;  // the fmt chunk's format tag
  unsigned channels = 0;
  std::uint32_t rate = 0;
  unsigned bits = 0;
  std::uint64_t data_bytes = 0;
};

inline constexpr std::uint32_t kMinEffectRate = 4000;
inline constexpr std::uint32_t kMaxEffectRate = 192000;
inline constexpr unsigned kMaxEffectSeconds = 60;
// The largest effect file read.
inline constexpr std::size_t kMaxEffectFileBytes = 64 * 1024 * 1024;

std::optional<WavFormat> CheckWav(std::span<const unsigned char> bytes);

}  // namespace sound
