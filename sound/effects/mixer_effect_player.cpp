#include "sound/effects/mixer_effect_player.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "sound/output/audio_output.h"
#include "sound/effects/effect_decoder.h"
#include "sound/format/story_sound.h"

namespace sound {
namespace {

constexpr auto kLook = std::chrono::milliseconds(250);  // how often a held effect is looked at

std::optional<std::vector<unsigned char>> Decode(const std::string& name, const OutputFormat& format) {
  const auto effect = ReadEffect(name).playable;
  if (!effect) return std::nullopt;
  return ConvertEffect(*effect, format);
}

}  // namespace

// Everything the worker thread touches. Once `stopping` is set, the worker
// touches nothing but this: not the output, which may be gone.
struct MixerEffectPlayer::Worker {
  explicit Worker(AudioOutput& out) : output(out), format(out.format()) {}

  void Run();
  void Start(std::vector<unsigned char> decoded);  // with mutex held
  void LetGo();                                    // with mutex held
  bool Ended();                                    // with mutex held

  AudioOutput& output;
  const OutputFormat format;
  Uint8 volume = MIX_MAX_VOLUME;
  std::mutex mutex;
  std::condition_variable wake, idle;
  std::deque<std::string> queue;
  bool busy = false;  // decoding, outside the lock
  bool stopping = false;
  // The effect sounding: its samples, and the chunk the mixer plays them
  // from (ours, so that no mixer call is needed to let it go).
  std::vector<unsigned char> samples;
  Mix_Chunk chunk{};
  bool holding = false;
  std::atomic<std::size_t> held_bytes{0};
};

MixerEffectPlayer::MixerEffectPlayer(AudioOutput* output, int volume) {
  if (!output) return;
  worker_ = std::make_shared<Worker>(*output);
  worker_->volume = static_cast<Uint8>((MIX_MAX_VOLUME * std::clamp(volume, 0, 100) + 50) / 100);
  thread_ = rt::Thread("effects", rt::Thread::End::kAbandoned, [worker = worker_] { worker->Run(); });
}

MixerEffectPlayer::~MixerEffectPlayer() {
  if (!worker_) return;
  {
    std::lock_guard lock(worker_->mutex);
    worker_->stopping = true;
    worker_->queue.clear();
    worker_->LetGo();
  }
  // It finds `stopping` at once, or when its decode ends, and ends.
  worker_->wake.notify_all();
  worker_->idle.notify_all();
}

void MixerEffectPlayer::Play(const std::string& name) noexcept {
  if (!worker_) return;
  try {
    std::lock_guard lock(worker_->mutex);
    worker_->queue.push_back(name);
  } catch (const std::bad_alloc&) {
    return;  // no memory to keep the name: not heard
  }
  worker_->wake.notify_one();
}

void MixerEffectPlayer::Drain() {
  if (!worker_) return;
  std::unique_lock lock(worker_->mutex);
  worker_->idle.wait(lock, [w = worker_.get()] { return w->stopping || (w->queue.empty() && !w->busy); });
}

std::size_t MixerEffectPlayer::held_bytes() const { return worker_ ? worker_->held_bytes.load() : 0; }

void MixerEffectPlayer::Worker::Run() {
  std::unique_lock lock(mutex);
  const auto asked = [this] { return stopping || !queue.empty(); };
  for (;;) {
    if (!holding) {
      wake.wait(lock, asked);
    } else if (!wake.wait_for(lock, kLook, asked)) {
      if (Ended()) LetGo();
      continue;
    }
    if (stopping) return;
    const std::string name = std::move(queue.front());
    queue.pop_front();
    busy = true;
    lock.unlock();
    auto decoded = Decode(name, format);
    lock.lock();
    busy = false;
    if (stopping) return;
    if (decoded) Start(std::move(*decoded));
    if (queue.empty()) idle.notify_all();
  }
}

// One effect at a time, as the original platform plays them: a new one takes
// the place of one still sounding, which is then let go.
void MixerEffectPlayer::Worker::Start(std::vector<unsigned char> decoded) {
  LetGo();
  samples = std::move(decoded);
  chunk = Mix_Chunk{0, samples.data(), static_cast<Uint32>(samples.size()), volume};
  output.Run([this] { holding = Mix_PlayChannel(0, &chunk, 0) == 0; });
  if (!holding) samples = {};
  held_bytes = samples.size();
}

// Halted, should it still play, before its samples go. A sleeping output
// plays nothing (it halted every channel when it closed).
void MixerEffectPlayer::Worker::LetGo() {
  if (holding) {
    output.IfAwake([this] {
      if (Mix_GetChunk(0) == &chunk) Mix_HaltChannel(0);
    });
  }
  holding = false;
  samples = {};
  held_bytes = 0;
}

// Played out, or halted, or replaced on its channel.
bool MixerEffectPlayer::Worker::Ended() {
  bool ended = true;
  output.IfAwake([&] { ended = Mix_GetChunk(0) != &chunk || Mix_Playing(0) == 0; });
  return ended;
}

}  // namespace sound
