#include "sound/music/tune_renderer.h"

#include <algorithm>

namespace sound {

std::shared_ptr<RenderedTune> TuneRenderer::Find(const std::vector<unsigned char>& tune) {
  std::lock_guard lock(mutex_);
  auto rendered = cache_.Find(tune);
  if (rendered && rendered->abandoned) {
    cache_.Remove(rendered);
    rendered.reset();
  }
  return rendered;
}

void TuneRenderer::GiveUp() {
  std::lock_guard lock(mutex_);
  if (!job_) return;
  job_->tune->abandoned = true;
  cache_.Remove(job_->tune);
  job_.reset();
}

std::shared_ptr<RenderedTune> TuneRenderer::Begin(std::vector<unsigned char> tune, std::size_t frames) {
  Job job{std::make_shared<RenderedTune>(std::move(tune), frames), 0, ReverbTail(sample_rate_)};
  job.ticket = core_.Take(job.tune->tune);
  if (!job.ticket || Next(job) == Step::kDone) {
    Finish(job);
    return job.tune;
  }
  {
    std::lock_guard lock(mutex_);
    cache_.Add(job.tune);
    job_ = job;
  }
  changed_.notify_all();
  return job.tune;
}

void TuneRenderer::Run() {
  for (;;) {
    std::optional<Job> job;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return quitting_ || job_; });
      if (quitting_) return;
      job = job_;
    }
    Step step = Step::kMore;
    while (step == Step::kMore) {
      if (job->tune->abandoned) {
        step = Step::kLost;
        break;
      }
      {
        std::lock_guard lock(mutex_);
        if (quitting_) return;
      }
      step = Next(*job);
    }
    if (step == Step::kDone) Finish(*job);
    else job->tune->abandoned = true;
    std::lock_guard lock(mutex_);
    if (job_ && job_->tune == job->tune) job_.reset();
  }
}

void TuneRenderer::Quit() {
  {
    std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  changed_.notify_all();
}

std::size_t TuneRenderer::cached_bytes() {
  std::lock_guard lock(mutex_);
  return cache_.bytes();
}

TuneRenderer::Step TuneRenderer::Next(Job& job) {
  RenderedTune& tune = *job.tune;
  const std::size_t at = tune.rendered.load(std::memory_order_relaxed);
  const int n = static_cast<int>(std::min<std::size_t>(SynthCore::kBlockFrames, tune.capacity() - at));
  if (n == 0) return Step::kDone;  // out of room
  std::int16_t* out = tune.samples.get() + 2 * at;
  const auto block = core_.Write(job.ticket, out, n);
  if (!block) return Step::kLost;  // a newer tune, or a live one, took the synthesiser
  bool done = false;
  if (tune.end_frame.load(std::memory_order_relaxed) == RenderedTune::kUnknown) {
    if (block->past_last_event) tune.end_frame.store(at + n, std::memory_order_release);
  } else {
    done = job.tail.Over(out, n, block->voices);
  }
  tune.rendered.store(at + n, std::memory_order_release);
  return done ? Step::kDone : Step::kMore;
}

void TuneRenderer::Finish(Job& job) {
  core_.Release(job.ticket);
  RenderedTune& tune = *job.tune;
  // Refused by the synthesiser, or out of room before the last event (the
  // length was misjudged): the tune ends where its samples do.
  if (tune.end_frame == RenderedTune::kUnknown) tune.end_frame = tune.rendered.load();
  tune.complete = true;
  ReturnFreeMemory();
}

}  // namespace sound
