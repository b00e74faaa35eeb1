#pragma once
// Tunes synthesised into memory ahead of their playhead: the rendering
// thread's work (one tune at a time, the newest asked for) and the cache of
// tunes rendered, kept by their contents. A tune's rendering holds the
// synthesiser (synth_core.h) by its ticket; a newer tune, or a live one,
// that takes the synthesiser ends it at its next block.
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "sound/music/rendered_tune.h"
#include "sound/music/reverb_tail.h"
#include "sound/music/synth_core.h"
#include "sound/music/tune_cache.h"

namespace sound {

class TuneRenderer {
 public:
  TuneRenderer(SynthCore& core, int sample_rate, std::size_t cache_bytes)
      : core_(core), sample_rate_(sample_rate), cache_(cache_bytes) {}
  TuneRenderer(const TuneRenderer&) = delete;
  TuneRenderer& operator=(const TuneRenderer&) = delete;

  // The tune, rendered or on its way, if it is kept; one given up is let go.
  std::shared_ptr<RenderedTune> Find(const std::vector<unsigned char>& tune);
  // The tune being rendered, if any, is given up.
  void GiveUp();
  // A tune of at most `frames` frames, new to the cache: it takes the
  // synthesiser, and its first block is rendered here and now, so that it is
  // ready for the next pass of the audio thread; the rendering thread does
  // the rest.
  std::shared_ptr<RenderedTune> Begin(std::vector<unsigned char> tune, std::size_t frames);

  // The rendering thread's work: renders what Begin asks until Quit, which
  // it sees between two blocks.
  void Run();
  void Quit();
  std::size_t cached_bytes();

 private:
  struct Job {
    std::shared_ptr<RenderedTune> tune;
    SynthCore::Ticket ticket = 0;
    ReverbTail tail;
  };
  enum class Step { kMore, kDone, kLost };
  // Renders the job's next block.
  Step Next(Job& job);
  void Finish(Job& job);

  SynthCore& core_;
  const int sample_rate_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<Job> job_;  // under mutex_, as the rest
  bool quitting_ = false;
  TuneCache cache_;
};

}  // namespace sound
