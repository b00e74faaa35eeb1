#pragma once
// Tunes synthesised into memory ahead of their playhead: the rendering
// thread's work (one tune at a time, the newest asked for) and the cache of
// tunes rendered, kept by their contents. The synthesiser and its lock are
// the engine's (synth_engine.h); a live tune takes the synthesiser over and
// the tune being rendered is given up.
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/music/fluid_ptrs.h"
#include "sound/music/peak_limiter.h"
#include "sound/music/rendered_tune.h"
#include "sound/music/tune_cache.h"

namespace sound {

class TuneRenderer {
 public:
  // `synth` stays empty until the SoundFont has loaded; it, its limiter and
  // `synth_mutex` outlive the renderer.
  TuneRenderer(std::mutex& synth_mutex, const FluidSynthPtr& synth, PeakLimiter& limiter, long tail_frames,
               std::size_t cache_bytes);
  TuneRenderer(const TuneRenderer&) = delete;
  TuneRenderer& operator=(const TuneRenderer&) = delete;

  // The tune, rendered or on its way, if it is kept; one given up is let go.
  std::shared_ptr<RenderedTune> Find(const std::vector<unsigned char>& tune);
  // The tune being rendered, if any, is given up.
  void GiveUp();
  // A tune of at most `frames` frames, new to the cache: its first block is
  // rendered here and now, so that it is ready for the next pass of the
  // audio thread; the rendering thread does the rest.
  std::shared_ptr<RenderedTune> Begin(std::vector<unsigned char> tune, std::size_t frames);
  // With the synthesiser's lock held: a live tune takes the synthesiser, and
  // gives it back when it is deleted.
  void TakeSynth();
  void GiveBackSynth() { taken_ = false; }

  // The rendering thread: works until Quit.
  void Run();
  void Quit();
  std::size_t cached_bytes();

 private:
  void Render(const std::shared_ptr<RenderedTune>& tune);
  // With the synthesiser's lock held: gives the synthesiser to a tune, from
  // a reset state; and renders its next block (true when it is complete).
  bool StartPlayer(RenderedTune& tune);
  bool RenderBlock(RenderedTune& tune, long& since_voices);
  void DeletePlayer();

  std::mutex& synth_mutex_;
  const FluidSynthPtr& synth_;
  PeakLimiter& limiter_;  // under synth_mutex_
  const long tail_frames_;

  // Under synth_mutex_: the player of the tune being rendered, and whether a
  // live tune has the synthesiser.
  FluidPlayerPtr player_;
  RenderedTune* player_tune_ = nullptr;
  bool taken_ = false;

  std::mutex jobs_mutex_;
  std::condition_variable jobs_changed_;
  std::shared_ptr<RenderedTune> job_;  // under jobs_mutex_, as the rest
  bool quitting_ = false;
  TuneCache cache_;
};

}  // namespace sound
