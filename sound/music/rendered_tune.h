#pragma once
// A tune synthesised once into memory: interleaved 16-bit stereo frames,
// written by the rendering thread and read by the audio thread at the same
// time. The buffer is sized once and never moves; `rendered` says how much
// of it holds sound, and only that much of it is resident.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "sound/music/sample_memory.h"

namespace sound {

struct RenderedTune {
  static constexpr std::size_t kUnknown = std::numeric_limits<std::size_t>::max();

  RenderedTune(std::vector<unsigned char> midi, std::size_t capacity_frames)
      : tune(std::move(midi)), samples(capacity_frames * 2), capacity_(capacity_frames) {}

  std::size_t capacity() const { return capacity_; }
  // The memory it takes: all of its room while it is being rendered, what
  // holds sound once it is complete.
  std::size_t bytes() const {
    const std::size_t frames = complete.load(std::memory_order_acquire) ? rendered.load() : capacity_;
    return frames * 2 * sizeof(std::int16_t) + tune.size();
  }

  const std::vector<unsigned char> tune;  // the (normalised) MIDI file: the key
  const SampleMemory samples;
  std::atomic<std::size_t> rendered{0};          // frames that hold sound
  std::atomic<std::size_t> end_frame{kUnknown};  // where the tune's last event falls
  std::atomic<bool> complete{false};             // the release and reverb tail are in too
  std::atomic<bool> abandoned{false};            // its rendering was given up

 private:
  const std::size_t capacity_;
};

}  // namespace sound
