#pragma once
// The tunes rendered so far, by the MIDI file's contents (not its name),
// bounded in bytes: the one used least recently goes first, and the one used
// last (the tune playing) always stays.
#include <cstddef>
#include <list>
#include <memory>
#include <span>

#include "sound/music/rendered_tune.h"

namespace sound {

class TuneCache {
 public:
  explicit TuneCache(std::size_t max_bytes) : max_bytes_(max_bytes) {}

  // The tune with these contents, marked as just used; null when absent.
  std::shared_ptr<RenderedTune> Find(std::span<const unsigned char> tune);
  // Adds a tune as the one used last, making room for it.
  void Add(std::shared_ptr<RenderedTune> tune);
  void Remove(const std::shared_ptr<RenderedTune>& tune);
  // What the tunes take now (a tune takes less once it is complete).
  std::size_t bytes() const;
  std::size_t max_bytes() const { return max_bytes_; }

 private:
  std::size_t max_bytes_;
  std::list<std::shared_ptr<RenderedTune>> tunes_;  // most recently used first
};

}  // namespace sound
