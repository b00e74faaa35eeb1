#include "sound/music/synthesizer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "runtime/notice.h"
#include "sound/format/midi_file.h"
#include "sound/format/pcm.h"

namespace sound {
namespace {

// Room for the tune as its events time it, a little more should the
// synthesiser's clock run slow, its tail, and a second of slack.
std::size_t RenderFrames(std::span<const unsigned char> tune, int sample_rate) {
  const double seconds = MidiSeconds(tune) * 1.02 + ReverbTail::kMaxSeconds + 1.0;
  return static_cast<std::size_t>(seconds * sample_rate) + SynthCore::kBlockFrames;
}

}  // namespace

Synthesizer::Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end,
                         std::size_t max_rendered_bytes)
    : sample_rate_(sample_rate),
      soundfonts_(std::move(soundfonts)),
      on_end_(std::move(on_end)),
      max_rendered_bytes_(max_rendered_bytes),
      core_(sample_rate),
      renderer_(core_, sample_rate, kCacheBytes),
      rendering_("tune renderer", rt::Thread::End::kJoined,
                 [this] {
                   if (auto loaded = handoff_->Await()) Loaded(std::move(*loaded));
                   renderer_.Run();
                 }),
      loading_("soundfont", rt::Thread::End::kAbandoned,
               [handoff = handoff_, rate = sample_rate, fonts = soundfonts_] {
                 auto loaded = LoadSoundFont(rate, fonts);
                 ReturnFreeMemory();
                 handoff->Deliver(std::move(loaded));
               }) {}

Synthesizer::~Synthesizer() {
  handoff_->Abandon();
  renderer_.Quit();
  rendering_.Join();
}

void Synthesizer::Loaded(std::optional<LoadedSynth> loaded) {
  std::lock_guard lock(mutex_);
  if (!loaded) {
    std::string looked;
    for (const auto& p : soundfonts_) looked += (looked.empty() ? "" : ", ") + p;
    rt::Notice("no General MIDI SoundFont could be loaded (looked for %s); the music is silent", looked.c_str());
    state_ = State::kFailed;
    pending_.reset();
    busy_ = false;
  } else {
    load_ms_ = loaded->load_ms;
    core_.Install(std::move(*loaded));
    state_ = State::kIdle;
    if (pending_) {
      auto tune = std::move(*pending_);
      pending_.reset();
      Begin(std::move(tune));
    }
  }
  loaded_.notify_all();
}

bool Synthesizer::WaitUntilLoaded() {
  std::unique_lock lock(mutex_);
  loaded_.wait(lock, [this] { return state_ != State::kLoading; });
  return state_ != State::kFailed;
}

void Synthesizer::WaitUntilRendered() {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (!playing_ || playing_->complete || playing_->abandoned) return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void Synthesizer::Halt() {
  if (state_ == State::kLive) core_.Release(live_);
  live_ = 0;
  playing_.reset();  // its rendering goes on, for the next time it is asked for
  state_ = State::kIdle;
  finished_ = false;
  busy_ = false;
  sounding_ = false;
}

void Synthesizer::Begin(std::vector<unsigned char> tune) {
  Halt();  // whatever played before stops at once
  playhead_ = 0;
  busy_ = true;
  sounding_ = true;
  if (auto rendered = renderer_.Find(tune)) {
    playing_ = std::move(rendered);
    state_ = State::kRendered;
    return;
  }
  const std::size_t frames = RenderFrames(tune, sample_rate_);
  renderer_.GiveUp();
  if (frames * kFrameBytes <= max_rendered_bytes_) {
    playing_ = renderer_.Begin(std::move(tune), frames);
    state_ = State::kRendered;
    return;
  }
  // Too long to keep: synthesised as it plays.
  live_ = core_.Take(tune);
  if (!live_) {
    Halt();
    return;
  }
  live_tail_ = ReverbTail(sample_rate_);
  live_over_ = false;
  state_ = State::kLive;
}

bool Synthesizer::Start(std::span<const unsigned char> midi) {
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

void Synthesizer::Stop() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  if (state_ == State::kLoading || state_ == State::kFailed) {
    busy_ = false;
    return;
  }
  Halt();
}

void Synthesizer::Render(std::int16_t* stereo, int frames) {
  bool ended = false;
  {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
      Silence(stereo, frames);
      return;
    }
    switch (state_) {
      case State::kRendered: ended = PlayRendered(stereo, frames); break;
      case State::kLive: ended = PlayLive(stereo, frames); break;
      case State::kIdle:
        sounding_ = false;
        [[fallthrough]];
      default: Silence(stereo, frames);
    }
  }
  if (ended && on_end_) on_end_();
}

bool Synthesizer::PlayRendered(std::int16_t* stereo, int frames) {
  const RenderedTune& tune = *playing_;
  const std::size_t available = tune.rendered.load(std::memory_order_acquire);
  const std::size_t n = playhead_ < available ? std::min<std::size_t>(frames, available - playhead_) : 0;
  std::memcpy(stereo, tune.samples.get() + 2 * playhead_, n * kFrameBytes);
  Silence(stereo + 2 * n, frames - n);  // only if rendering has fallen behind
  playhead_ += n;
  bool ended = false;
  const std::size_t end = tune.end_frame.load(std::memory_order_acquire);
  if (!finished_ && end != RenderedTune::kUnknown && playhead_ >= end) {
    finished_ = true;
    busy_ = false;
    ended = true;
  }
  if (tune.complete.load(std::memory_order_acquire) && playhead_ >= tune.rendered.load(std::memory_order_acquire))
    sounding_ = false;
  return ended;
}

bool Synthesizer::PlayLive(std::int16_t* stereo, int frames) {
  // Once the tail has died away the synthesiser is not run at all.
  const auto block = live_over_ ? std::nullopt : core_.TryWrite(live_, stereo, frames);
  if (!block) {
    Silence(stereo, frames);
    if (live_over_) sounding_ = false;
    return false;
  }
  if (finished_) {
    live_over_ = live_tail_.Over(stereo, frames, block->voices);
    return false;
  }
  if (!block->past_last_event) return false;
  finished_ = true;
  busy_ = false;
  return true;
}

}  // namespace sound
