#include "sound/synth_engine.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "runtime/notice.h"
#include "sound/midi_file_check.h"
#include "sound/soundfont_loader.h"

namespace sound {
namespace {

constexpr int kBlockFrames = 1024;  // what the rendering thread writes at a time
constexpr int kTailSeconds = 3;     // how long the reverb may ring on once the voices have ended

// A tune has passed its last event: the end is the last event of the longest
// track, not the end of the voices' release tails, which ring on after it.
bool PastLastEvent(fluid_player_t* player) {
  const int total = fluid_player_get_total_ticks(player);
  return fluid_player_get_status(player) == FLUID_PLAYER_DONE ||
         (total > 0 && fluid_player_get_current_tick(player) >= total);
}

// Gives the allocator's free pages back to the system. Loading the
// SoundFont, and each instrument as a tune first uses it, reads the
// SoundFont's tables into memory and frees them again: a megabyte or more,
// free but still resident, in the heap of the thread that did it.
void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

void Silence(std::int16_t* stereo, int frames) { std::memset(stereo, 0, static_cast<std::size_t>(frames) * 4); }

}  // namespace

SynthEngine::SynthEngine(int sample_rate, std::function<void()> on_end)
    : sample_rate_(sample_rate), tail_frames_(long{kTailSeconds} * sample_rate), on_end_(std::move(on_end)) {}

void SynthEngine::Launch(std::vector<std::string> soundfonts) {
  std::thread([self = shared_from_this(), fonts = std::move(soundfonts)]() mutable {
    self->Load(self->sample_rate_, std::move(fonts));
  }).detach();
  std::thread([self = shared_from_this()] { self->RenderingThread(); }).detach();
}

void SynthEngine::Quit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    pending_.reset();
  }
  {
    std::lock_guard lock(jobs_mutex_);
    quitting_ = true;
    if (job_) job_->abandoned = true;
  }
  jobs_changed_.notify_all();
}

void SynthEngine::Load(int sample_rate, std::vector<std::string> soundfonts) {
  auto loaded = LoadSoundFont(sample_rate, soundfonts);
  ReturnFreeMemory();
  std::lock_guard lock(mutex_);
  if (quit_) return;  // the program has ended meanwhile: nobody to tell
  if (!loaded) {
    std::string looked;
    for (const auto& p : soundfonts) looked += (looked.empty() ? "" : ", ") + p;
    tk::Notice("no General MIDI SoundFont could be loaded (looked for %s); the music is silent", looked.c_str());
    state_ = State::kFailed;
    pending_.reset();
    busy_ = false;
    loaded_.notify_all();
    return;
  }
  load_ms_ = loaded->load_ms;
  {
    std::lock_guard synth_lock(synth_mutex_);
    settings_ = std::move(loaded->settings);
    synth_ = std::move(loaded->synth);
  }
  state_ = State::kReady;
  if (pending_) {
    auto tune = std::move(*pending_);
    pending_.reset();
    Begin(std::move(tune));
  }
  loaded_.notify_all();
}

bool SynthEngine::WaitUntilLoaded() {
  std::unique_lock lock(mutex_);
  loaded_.wait(lock, [this] { return state_ != State::kLoading; });
  return state_ == State::kReady;
}

void SynthEngine::WaitUntilRendered() {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (!playing_ || playing_->complete || playing_->abandoned) return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::size_t SynthEngine::cached_bytes() {
  std::lock_guard lock(jobs_mutex_);
  return cache_.bytes();
}

void SynthEngine::Reset() {
  fluid_synth_all_sounds_off(synth_.get(), -1);
  fluid_synth_system_reset(synth_.get());
}

void SynthEngine::DeleteLivePlayer() {
  if (!live_) return;
  live_.reset();
  Reset();  // a deleted player leaves its notes sounding
}

void SynthEngine::StartLivePlayer(const std::vector<unsigned char>& tune) {
  DeleteJobPlayer();  // the rendering thread sees it gone and gives its tune up
  Reset();
  live_.reset(new_fluid_player(synth_.get()));
  silent_frames_ = 0;
  if (!live_ || fluid_player_add_mem(live_.get(), tune.data(), tune.size()) != FLUID_OK ||
      fluid_player_play(live_.get()) != FLUID_OK) {
    DeleteLivePlayer();
    finished_ = true;
  }
}

void SynthEngine::Begin(std::vector<unsigned char> tune) {
  // Whatever played before stops at once.
  if (live_) {
    std::lock_guard synth_lock(synth_mutex_);
    DeleteLivePlayer();
  }
  playing_.reset();
  playhead_ = 0;
  finished_ = false;
  busy_ = true;
  sounding_ = true;

  std::shared_ptr<RenderedTune> rendered;
  {
    std::lock_guard jobs(jobs_mutex_);
    rendered = cache_.Find(tune);
    if (rendered && rendered->abandoned) {
      cache_.Remove(rendered);
      rendered.reset();
    }
  }
  if (rendered) {
    playing_ = std::move(rendered);
    return;
  }
  // Room for the tune, its tail of up to 3 s, and some slack.
  const double seconds = MidiSeconds(tune) * 1.02 + 4.0;
  const std::size_t frames = static_cast<std::size_t>(seconds * sample_rate_) + kBlockFrames;
  const bool too_long = frames * 4 > Synthesizer::kMaxRenderedBytes;
  {
    std::lock_guard jobs(jobs_mutex_);
    if (job_) {
      job_->abandoned = true;
      cache_.Remove(job_);
      job_.reset();
    }
    if (!too_long) {
      job_ = std::make_shared<RenderedTune>(std::move(tune), frames);
      cache_.Add(job_);
      playing_ = job_;
    }
  }
  if (!too_long) {
    // The first block is rendered here and now, so that it is ready for the
    // next pass of the audio thread; the rendering thread does the rest.
    std::lock_guard synth_lock(synth_mutex_);
    long since_voices = 0;
    if (StartJobPlayer(*playing_)) RenderBlock(*playing_, since_voices);
  }
  if (too_long) {
    std::lock_guard synth_lock(synth_mutex_);
    StartLivePlayer(tune);
    if (finished_) busy_ = sounding_ = false;
    return;
  }
  jobs_changed_.notify_all();
}

bool SynthEngine::Start(std::span<const unsigned char> midi) {
  std::lock_guard lock(mutex_);
  if (state_ == State::kFailed) return false;
  std::vector<unsigned char> tune(midi.begin(), midi.end());
  if (state_ == State::kLoading) {
    pending_ = std::move(tune);
    busy_ = true;
    return true;
  }
  Begin(std::move(tune));
  return true;
}

void SynthEngine::Stop() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  playing_.reset();  // its rendering goes on, for the next time it is asked for
  if (live_) {
    std::lock_guard synth_lock(synth_mutex_);
    DeleteLivePlayer();
  }
  finished_ = false;
  busy_ = false;
  sounding_ = false;
}

void SynthEngine::Render(std::int16_t* stereo, int frames) {
  bool ended = false;
  {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock() || state_ != State::kReady) {
      Silence(stereo, frames);
      return;
    }
    if (playing_) {
      PlayRendered(stereo, frames, ended);
    } else if (live_) {
      RenderLive(stereo, frames, ended);
    } else {
      Silence(stereo, frames);
      sounding_ = false;
    }
  }
  if (ended && on_end_) on_end_();
}

void SynthEngine::PlayRendered(std::int16_t* stereo, int frames, bool& ended) {
  const RenderedTune& tune = *playing_;
  const std::size_t available = tune.rendered.load(std::memory_order_acquire);
  const std::size_t n = playhead_ < available ? std::min<std::size_t>(frames, available - playhead_) : 0;
  std::memcpy(stereo, tune.samples.get() + 2 * playhead_, n * 4);
  Silence(stereo + 2 * n, frames - static_cast<int>(n));  // only if rendering has fallen behind
  playhead_ += n;
  const std::size_t end = tune.end_frame.load(std::memory_order_acquire);
  if (!finished_ && end != RenderedTune::kUnknown && playhead_ >= end) {
    finished_ = true;
    busy_ = false;
    ended = true;
  }
  if (tune.complete.load(std::memory_order_acquire) && playhead_ >= tune.rendered.load(std::memory_order_acquire))
    sounding_ = false;
}

void SynthEngine::RenderLive(std::int16_t* stereo, int frames, bool& ended) {
  std::unique_lock synth_lock(synth_mutex_, std::try_to_lock);
  if (!synth_lock.owns_lock()) {
    Silence(stereo, frames);
    return;
  }
  // Once the tune has ended and its last voice with it, only the reverb's
  // tail remains; once that has died away the synthesiser is not run at all.
  if (!finished_ || fluid_synth_get_active_voice_count(synth_.get()) > 0) silent_frames_ = 0;
  if (silent_frames_ >= tail_frames_) {
    Silence(stereo, frames);
    sounding_ = false;
    return;
  }
  silent_frames_ += frames;
  fluid_synth_write_s16(synth_.get(), frames, stereo, 0, 2, stereo, 1, 2);
  if (live_ && !finished_ && PastLastEvent(live_.get())) {
    finished_ = true;
    busy_ = false;
    ended = true;
  }
}

void SynthEngine::RenderingThread() {
  for (;;) {
    std::shared_ptr<RenderedTune> job;
    {
      std::unique_lock lock(jobs_mutex_);
      jobs_changed_.wait(lock, [this] { return quitting_ || job_; });
      if (quitting_) return;
      job = job_;
    }
    RenderTune(job);
    std::lock_guard lock(jobs_mutex_);
    if (job_ == job) job_.reset();
  }
}

void SynthEngine::DeleteJobPlayer() {
  job_player_.reset();
  job_player_tune_ = nullptr;
}

bool SynthEngine::StartJobPlayer(RenderedTune& tune) {
  DeleteJobPlayer();
  Reset();
  job_player_.reset(new_fluid_player(synth_.get()));
  if (!job_player_ || fluid_player_add_mem(job_player_.get(), tune.tune.data(), tune.tune.size()) != FLUID_OK ||
      fluid_player_play(job_player_.get()) != FLUID_OK) {
    DeleteJobPlayer();
    tune.end_frame = 0;
    tune.complete = true;
    return false;
  }
  job_player_tune_ = &tune;
  return true;
}

bool SynthEngine::RenderBlock(RenderedTune& tune, long& since_voices) {
  const std::size_t at = tune.rendered.load(std::memory_order_relaxed);
  const int n = static_cast<int>(std::min<std::size_t>(kBlockFrames, tune.capacity() - at));
  bool done = n == 0;
  if (!done) {
    std::int16_t* out = tune.samples.get() + 2 * at;
    fluid_synth_write_s16(synth_.get(), n, out, 0, 2, out, 1, 2);
    if (tune.end_frame.load(std::memory_order_relaxed) == RenderedTune::kUnknown) {
      if (PastLastEvent(job_player_.get())) tune.end_frame.store(at + n, std::memory_order_release);
    } else if (fluid_synth_get_active_voice_count(synth_.get()) == 0) {
      // The voices have ended: what is left is the reverb, until it has died
      // away (below -78 dB, under the synthesiser's own dither) or rung for 3 s.
      since_voices += n;
      done = since_voices >= tail_frames_ ||
             std::all_of(out, out + 2 * n, [](std::int16_t v) { return v >= -4 && v <= 4; });
    } else {
      since_voices = 0;
    }
    tune.rendered.store(at + n, std::memory_order_release);
  }
  if (done) {
    DeleteJobPlayer();
    Reset();
  }
  return done;
}

void SynthEngine::RenderTune(const std::shared_ptr<RenderedTune>& tune) {
  {
    std::lock_guard synth_lock(synth_mutex_);
    if (live_ || tune->abandoned) {  // the synthesiser is taken; this tune was given up already
      tune->abandoned = true;
      return;
    }
    // Begin may have started it and rendered its first block already.
    if (job_player_tune_ != tune.get() && !StartJobPlayer(*tune)) return;
  }
  long since_voices = 0;
  for (bool done = false; !done;) {
    std::lock_guard synth_lock(synth_mutex_);
    if (job_player_tune_ != tune.get() || tune->abandoned) {  // a newer tune, or a live one, took over
      if (job_player_tune_ == tune.get()) DeleteJobPlayer();
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
