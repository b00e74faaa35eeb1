#include "sound/music/tune_renderer.h"

#include <fluidsynth.h>

#include <algorithm>

#include "sound/music/fluid_calls.h"

namespace sound {

TuneRenderer::TuneRenderer(std::mutex& synth_mutex, const FluidSynthPtr& synth, PeakLimiter& limiter,
                           long tail_frames, std::size_t cache_bytes)
    : synth_mutex_(synth_mutex), synth_(synth), limiter_(limiter), tail_frames_(tail_frames), cache_(cache_bytes) {}

std::shared_ptr<RenderedTune> TuneRenderer::Find(const std::vector<unsigned char>& tune) {
  std::lock_guard jobs(jobs_mutex_);
  auto rendered = cache_.Find(tune);
  if (rendered && rendered->abandoned) {
    cache_.Remove(rendered);
    rendered.reset();
  }
  return rendered;
}

void TuneRenderer::GiveUp() {
  std::lock_guard jobs(jobs_mutex_);
  if (!job_) return;
  job_->abandoned = true;
  cache_.Remove(job_);
  job_.reset();
}

std::shared_ptr<RenderedTune> TuneRenderer::Begin(std::vector<unsigned char> tune, std::size_t frames) {
  std::shared_ptr<RenderedTune> rendered;
  {
    std::lock_guard jobs(jobs_mutex_);
    rendered = job_ = std::make_shared<RenderedTune>(std::move(tune), frames);
    cache_.Add(job_);
  }
  {
    std::lock_guard synth_lock(synth_mutex_);
    long since_voices = 0;
    if (StartPlayer(*rendered)) RenderBlock(*rendered, since_voices);
  }
  jobs_changed_.notify_all();
  return rendered;
}

void TuneRenderer::TakeSynth() {
  DeletePlayer();  // the rendering thread sees it gone and gives its tune up
  taken_ = true;
}

void TuneRenderer::Run() {
  for (;;) {
    std::shared_ptr<RenderedTune> job;
    {
      std::unique_lock lock(jobs_mutex_);
      jobs_changed_.wait(lock, [this] { return quitting_ || job_; });
      if (quitting_) return;
      job = job_;
    }
    Render(job);
    std::lock_guard lock(jobs_mutex_);
    if (job_ == job) job_.reset();
  }
}

void TuneRenderer::Quit() {
  {
    std::lock_guard lock(jobs_mutex_);
    quitting_ = true;
    if (job_) job_->abandoned = true;
  }
  jobs_changed_.notify_all();
}

std::size_t TuneRenderer::cached_bytes() {
  std::lock_guard lock(jobs_mutex_);
  return cache_.bytes();
}

void TuneRenderer::DeletePlayer() {
  player_.reset();
  player_tune_ = nullptr;
}

bool TuneRenderer::StartPlayer(RenderedTune& tune) {
  DeletePlayer();
  ResetSynth(synth_.get());
  limiter_.Reset();
  player_ = sound::StartPlayer(synth_.get(), tune.tune);
  if (!player_) {
    tune.end_frame = 0;
    tune.complete = true;
    return false;
  }
  player_tune_ = &tune;
  return true;
}

bool TuneRenderer::RenderBlock(RenderedTune& tune, long& since_voices) {
  const std::size_t at = tune.rendered.load(std::memory_order_relaxed);
  const int n = static_cast<int>(std::min<std::size_t>(kBlockFrames, tune.capacity() - at));
  bool done = n == 0;
  if (!done) {
    std::int16_t* out = tune.samples.get() + 2 * at;
    WriteLimited(synth_.get(), limiter_, out, n);
    if (tune.end_frame.load(std::memory_order_relaxed) == RenderedTune::kUnknown) {
      if (PastLastEvent(player_.get())) tune.end_frame.store(at + n, std::memory_order_release);
    } else if (fluid_synth_get_active_voice_count(synth_.get()) == 0) {
      // The voices have ended: what is left is the reverb, until it has died
      // away (below -78 dB) or rung for 3 s.
      since_voices += n;
      done = since_voices >= tail_frames_ ||
             std::all_of(out, out + 2 * n, [](std::int16_t v) { return v >= -4 && v <= 4; });
    } else {
      since_voices = 0;
    }
    tune.rendered.store(at + n, std::memory_order_release);
  }
  if (done) {
    DeletePlayer();
    ResetSynth(synth_.get());
  }
  return done;
}

void TuneRenderer::Render(const std::shared_ptr<RenderedTune>& tune) {
  {
    std::lock_guard synth_lock(synth_mutex_);
    if (taken_ || tune->abandoned) {  // the synthesiser is taken; this tune was given up already
      tune->abandoned = true;
      return;
    }
    // Begin may have started it and rendered its first block already.
    if (player_tune_ != tune.get() && !StartPlayer(*tune)) return;
  }
  long since_voices = 0;
  for (bool done = false; !done;) {
    std::lock_guard synth_lock(synth_mutex_);
    if (player_tune_ != tune.get() || tune->abandoned) {  // a newer tune, or a live one, took over
      if (player_tune_ == tune.get()) DeletePlayer();
      tune->abandoned = true;
      return;
    }
    done = RenderBlock(*tune, since_voices);
  }
  // Out of room before the last event (the length was misjudged): the tune
  // ends where its samples do.
  if (tune->end_frame == RenderedTune::kUnknown) tune->end_frame = tune->rendered.load();
  tune->complete = true;
  ReturnFreeMemory();
}

}  // namespace sound
