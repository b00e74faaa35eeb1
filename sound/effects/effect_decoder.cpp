#include "sound/effects/effect_decoder.h"

#include <SDL.h>

#include <cstring>

namespace sound {

std::optional<std::vector<unsigned char>> ConvertEffect(const Effect& effect, const OutputFormat& out) {
  // The whole effect converted at once (SDL 2.26's audio stream drops the
  // last block of resampled sound when flushed).
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, AUDIO_F32SYS, static_cast<Uint8>(effect.channels), effect.rate, out.format,
                        static_cast<Uint8>(out.channels), out.rate) < 0)
    return std::nullopt;
  const std::size_t in_bytes = effect.samples.size() * sizeof(float);
  std::vector<unsigned char> converted(in_bytes * static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(converted.data(), effect.samples.data(), in_bytes);
  cvt.buf = converted.data();
  cvt.len = static_cast<int>(in_bytes);
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return std::nullopt;
  converted.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
  if (converted.empty()) return std::nullopt;
  return converted;
}

}  // namespace sound
