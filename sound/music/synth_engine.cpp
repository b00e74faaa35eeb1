#include "sound/music/synth_engine.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "runtime/notice.h"
#include "sound/music/fluid_calls.h"
#include "sound/format/midi_file.h"
#include "sound/music/soundfont_loader.h"

namespace sound {
namespace {

void Silence(std::int16_t* stereo, int frames) { std::memset(stereo, 0, static_cast<std::size_t>(frames) * 4); }

}  // namespace

SynthEngine::SynthEngine(int sample_rate, std::function<void()> on_end)
    : sample_rate_(sample_rate),
      limiter_(sample_rate),
      tail_frames_(long{kTailSeconds} * sample_rate),
      on_end_(std::move(on_end)),
      renderer_(synth_mutex_, synth_, limiter_, tail_frames_, Synthesizer::kCacheBytes) {}

void SynthEngine::Launch(std::vector<std::string> soundfonts) {
  std::thread([self = shared_from_this(), fonts = std::move(soundfonts)]() mutable {
    self->Load(self->sample_rate_, std::move(fonts));
  }).detach();
  std::thread([self = shared_from_this()] { self->renderer_.Run(); }).detach();
}

void SynthEngine::Quit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    pending_.reset();
  }
  renderer_.Quit();
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

std::size_t SynthEngine::cached_bytes() { return renderer_.cached_bytes(); }

void SynthEngine::DeleteLivePlayer() {
  renderer_.GiveBackSynth();
  if (!live_) return;
  live_.reset();
  ResetSynth(synth_.get());  // a deleted player leaves its notes sounding
}

void SynthEngine::StartLivePlayer(const std::vector<unsigned char>& tune) {
  renderer_.TakeSynth();
  ResetSynth(synth_.get());
  limiter_.Reset();
  live_ = StartPlayer(synth_.get(), tune);
  silent_frames_ = 0;
  if (!live_) {
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

  std::shared_ptr<RenderedTune> rendered = renderer_.Find(tune);
  if (rendered) {
    playing_ = std::move(rendered);
    return;
  }
  // Room for the tune, its tail of up to 3 s, and some slack.
  const double seconds = MidiSeconds(tune) * 1.02 + 4.0;
  const std::size_t frames = static_cast<std::size_t>(seconds * sample_rate_) + kBlockFrames;
  renderer_.GiveUp();
  if (frames * 4 <= Synthesizer::kMaxRenderedBytes) {
    playing_ = renderer_.Begin(std::move(tune), frames);
    return;
  }
  // Too long to keep: synthesised as it plays.
  std::lock_guard synth_lock(synth_mutex_);
  StartLivePlayer(tune);
  if (finished_) busy_ = sounding_ = false;
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
  WriteLimited(synth_.get(), limiter_, stereo, frames);
  if (live_ && !finished_ && PastLastEvent(live_.get())) {
    finished_ = true;
    busy_ = false;
    ended = true;
  }
}

}  // namespace sound
