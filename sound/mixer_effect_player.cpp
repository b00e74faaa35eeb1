#include "sound/mixer_effect_player.h"

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
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::string name = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    // One effect at a time, as the original platform plays them: a new one
    // takes the place of one still sounding.
    if (Mix_Chunk* chunk = Load(name)) OutputPower::RunOn(power_, [chunk] { Mix_PlayChannel(0, chunk, 0); });
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

Mix_Chunk* MixerEffectPlayer::Load(const std::string& name) {
  if (const auto cached = cache_.find(name); cached != cache_.end()) return cached->second.chunk.get();
  const auto bytes = tk::ReadNamedFile(name, kMaxFileBytes);
  if (!bytes) return nullptr;
  auto samples = DecodeEffect(*bytes, format_);
  if (!samples) return nullptr;
  Effect effect{std::move(*samples), nullptr};
  effect.chunk.reset(Mix_QuickLoad_RAW(effect.samples.data(), static_cast<Uint32>(effect.samples.size())));
  if (!effect.chunk) return nullptr;
  return cache_.emplace(name, std::move(effect)).first->second.chunk.get();
}

}  // namespace sound
