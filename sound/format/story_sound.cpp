#include "sound/format/story_sound.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "runtime/file_reader.h"
#include "sound/format/midi_file.h"
#include "sound/format/wav_check.h"

namespace sound {
namespace {

// libsndfile reads the bytes in memory.
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

StorySound<std::vector<unsigned char>> ReadTune(std::string_view name) {
  const auto bytes = rt::ReadNamedFile(name, kMaxMidiFileBytes);
  if (!bytes) return {};
  return {true, NormaliseMidi(*bytes)};
}

StorySound<Effect> ReadEffect(std::string_view name) {
  const auto bytes = rt::ReadNamedFile(name, kMaxEffectFileBytes);
  if (!bytes) return {};
  return {true, DecodeEffect(*bytes)};
}

std::optional<Effect> DecodeEffect(std::span<const unsigned char> wav) {
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
  Effect effect;
  effect.channels = std::min(info.channels, 2);
  effect.rate = info.samplerate;
  const float share[2] = {1.0f / ((info.channels + 1) / 2), effect.channels == 2 ? 1.0f / (info.channels / 2) : 0.0f};
  effect.samples.assign(static_cast<std::size_t>(frames) * effect.channels, 0.0f);
  for (sf_count_t f = 0; f < frames; ++f)
    for (int c = 0; c < info.channels; ++c)
      effect.samples[f * effect.channels + c % effect.channels] += samples[f * info.channels + c] * share[c % effect.channels];
  return effect;
}

}  // namespace sound
