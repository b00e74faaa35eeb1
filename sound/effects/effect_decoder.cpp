#include "sound/effects/effect_decoder.h"

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "sound/format/wav_check.h"

namespace sound {
namespace {

struct Memory {
  std::span<const unsigned char> bytes;
  sf_count_t at = 0;
};

sf_count_t Length(void* m) { return static_cast<sf_count_t>(static_cast<Memory*>(m)->bytes.size()); }
sf_count_t Seek(sf_count_t offset, int whence, void* m) {
  auto* mem = static_cast<Memory*>(m);
  const sf_count_t base = whence == SEEK_CUR ? mem->at : whence == SEEK_END ? Length(m) : 0;
  const sf_count_t to = base + offset;
  if (to < 0 || to > Length(m)) return -1;
  return mem->at = to;
}
sf_count_t Read(void* out, sf_count_t count, void* m) {
  auto* mem = static_cast<Memory*>(m);
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, Length(m) - mem->at);
  std::memcpy(out, mem->bytes.data() + mem->at, static_cast<std::size_t>(n));
  mem->at += n;
  return n;
}
sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
sf_count_t Tell(void* m) { return static_cast<Memory*>(m)->at; }

struct SndfileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};

}  // namespace

std::optional<std::vector<unsigned char>> DecodeEffect(std::span<const unsigned char> wav, const OutputFormat& out) {
  const auto format = CheckWav(wav);
  if (!format) return std::nullopt;
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  Memory memory{wav};
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open_virtual(&io, SFM_READ, &info, &memory));
  if (!file || info.channels != static_cast<int>(format->channels) || info.samplerate != static_cast<int>(format->rate))
    return std::nullopt;
  if (info.frames <= 0 || info.frames > static_cast<sf_count_t>(format->rate) * kMaxEffectSeconds) return std::nullopt;

  std::vector<float> samples(static_cast<std::size_t>(info.frames) * info.channels);
  const sf_count_t frames = sf_readf_float(file.get(), samples.data(), info.frames);
  if (frames <= 0) return std::nullopt;
  // More than two channels fold onto two, each side the mean of its share:
  // even channels to the left, odd ones to the right.
  const int channels = std::min(info.channels, 2);
  const float share[2] = {1.0f / ((info.channels + 1) / 2), channels == 2 ? 1.0f / (info.channels / 2) : 0.0f};
  std::vector<float> folded(static_cast<std::size_t>(frames) * channels, 0.0f);
  for (sf_count_t f = 0; f < frames; ++f)
    for (int c = 0; c < info.channels; ++c)
      folded[f * channels + c % channels] += samples[f * info.channels + c] * share[c % channels];

  // The whole effect converted at once (SDL 2.26's audio stream drops the
  // last block of resampled sound when flushed).
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, AUDIO_F32SYS, static_cast<Uint8>(channels), static_cast<int>(format->rate), out.format,
                        static_cast<Uint8>(out.channels), out.rate) < 0)
    return std::nullopt;
  const std::size_t in_bytes = folded.size() * sizeof(float);
  std::vector<unsigned char> converted(in_bytes * static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(converted.data(), folded.data(), in_bytes);
  cvt.buf = converted.data();
  cvt.len = static_cast<int>(in_bytes);
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return std::nullopt;
  converted.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
  if (converted.empty()) return std::nullopt;
  return converted;
}

}  // namespace sound
