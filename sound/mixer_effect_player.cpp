#include "sound/mixer_effect_player.h"

#include <chrono>

#include "runtime/file_names.h"

namespace sound {

MixerEffectPlayer::MixerEffectPlayer(bool enabled, OutputFormat format, OutputPower* power)
    : enabled_(enabled), format_(format), power_(power) {
  if (enabled_) worker_ = std::thread([this] { Work(); });
}

MixerEffectPlayer::~MixerEffectPlayer() {
  if (!enabled_) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_one();
  worker_.join();
  Mix_HaltChannel(0);  // before the chunks it may be playing go
}

void MixerEffectPlayer::Play(const std::string& name) {
  if (!enabled_) return;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(name);
  }
  wake_.notify_one();
}

void MixerEffectPlayer::Drain() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void MixerEffectPlayer::Work() {
  std::unique_lock lock(mutex_);
  const auto asked = [this] { return stopping_ || !queue_.empty(); };
  for (;;) {
    if (!playing_.chunk) {
      wake_.wait(lock, asked);
    } else if (!wake_.wait_for(lock, std::chrono::milliseconds(kLookMs), asked)) {
      lock.unlock();
      if (Ended()) Hold(Effect{});
      lock.lock();
      continue;
    }
    if (stopping_) return;
    const std::string name = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    Start(name);
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

// One effect at a time, as the original platform plays them: a new one takes
// the place of one still sounding, which is then let go.
void MixerEffectPlayer::Start(const std::string& name) {
  const auto bytes = tk::ReadNamedFile(name, kMaxFileBytes);
  if (!bytes) return;
  auto samples = DecodeEffect(*bytes, format_);
  if (!samples) return;
  Effect effect{std::move(*samples), nullptr};
  // The mixer makes chunks only while the output is open: awake, that is.
  OutputPower::RunOn(power_, [&] {
    effect.chunk.reset(Mix_QuickLoad_RAW(effect.samples.data(), static_cast<Uint32>(effect.samples.size())));
    if (effect.chunk) Mix_PlayChannel(0, effect.chunk.get(), 0);
  });
  if (effect.chunk) Hold(std::move(effect));
}

void MixerEffectPlayer::Hold(Effect effect) {
  playing_.chunk.reset();  // halted, should it still play, before its samples go
  playing_ = std::move(effect);
  held_bytes_ = playing_.samples.size();
}

// Played out, or halted, or replaced on its channel. An output put to sleep
// has nothing playing (and no channels to ask).
bool MixerEffectPlayer::Ended() const {
  bool ended = true;
  const auto look = [&] { ended = Mix_GetChunk(0) != playing_.chunk.get() || Mix_Playing(0) == 0; };
  if (power_) power_->IfAwake(look);
  else look();
  return ended;
}

}  // namespace sound
