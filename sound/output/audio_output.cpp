#include "sound/output/audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <utility>

#include "runtime/notice.h"
#include "sound/format/pcm.h"

namespace sound {
namespace {

// The device's buffer: 23 ms at 44.1 kHz.
constexpr int kDeviceBufferFrames = 1024;

}  // namespace

std::unique_ptr<AudioOutput> AudioOutput::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (Mix_OpenAudioDevice(kPreferredRate, AUDIO_S16SYS, kChannels, kDeviceBufferFrames, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) == 0) {
      OutputFormat format;
      Mix_QuerySpec(&format.rate, &format.format, &format.channels);
      return std::unique_ptr<AudioOutput>(new AudioOutput(format));
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  rt::Notice("no audio device (%s); playing without sound", SDL_GetError());
  return nullptr;
}

AudioOutput::AudioOutput(OutputFormat format) : format_(format) {
  watcher_ = rt::Thread("output watcher", rt::Thread::End::kJoined, [this] { Watch(); });
}

AudioOutput::~AudioOutput() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  watcher_.Join();
  std::lock_guard lock(mutex_);
  if (open_) Close();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::SetMusic(MusicMixer mixer, void* user, std::function<bool()> sounding) {
  std::lock_guard lock(mutex_);
  music_ = mixer;
  music_user_ = user;
  music_sounding_ = std::move(sounding);
  if (!mixer) soon_.clear();
  // Mix_HookMusic takes the audio device's lock: once it returns, the old
  // callback is not running and will not run again.
  if (open_) Mix_HookMusic(music_, music_user_);
}

void AudioOutput::RunSoon(std::function<void()> start, std::function<void()> refused) {
  {
    std::lock_guard lock(mutex_);
    if (open_) {
      start();
      return;
    }
    soon_.push_back({std::move(start), std::move(refused)});
  }
  changed_.notify_all();
}

bool AudioOutput::Run(const std::function<void()>& start) {
  std::unique_lock lock(mutex_);
  if (!open_ && !Reopen(lock)) return false;
  start();  // under the lock: the watcher cannot put the output to sleep meanwhile
  return true;
}

void AudioOutput::IfAwake(const std::function<void()>& look) {
  std::lock_guard lock(mutex_);
  if (open_) look();
}

bool AudioOutput::asleep() {
  std::lock_guard lock(mutex_);
  return !open_;
}

bool AudioOutput::Reopen(std::unique_lock<std::mutex>& lock) {
  // One reopening at a time; the device is opened without the lock, so that
  // nobody else waits for a slow device but the thread that wants it open.
  changed_.wait(lock, [this] { return !reopening_; });
  if (open_) return true;
  if (stopping_) return false;
  reopening_ = true;
  lock.unlock();
  // The same format exactly, so that the effects decoded for it still fit.
  const bool opened =
      Mix_OpenAudioDevice(format_.rate, format_.format, format_.channels, kDeviceBufferFrames, nullptr, 0) == 0;
  lock.lock();
  reopening_ = false;
  changed_.notify_all();
  if (!opened) return false;
  Mix_HookMusic(music_, music_user_);
  open_ = true;
  changed_.notify_all();
  return true;
}

void AudioOutput::Close() {
  Mix_HookMusic(nullptr, nullptr);
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  open_ = false;
}

bool AudioOutput::Sounding() { return (music_sounding_ && music_sounding_()) || Mix_Playing(-1) > 0; }

void AudioOutput::Watch() {
  std::unique_lock lock(mutex_);
  int quiet = 0;
  for (;;) {
    // Asleep, it waits for whatever wakes the output, and looks at nothing.
    if (!open_) changed_.wait(lock, [this] { return stopping_ || open_ || !soon_.empty(); });
    if (stopping_) return;
    if (!soon_.empty()) {
      const bool awake = open_ || Reopen(lock);
      for (auto& soon : std::exchange(soon_, {})) (awake ? soon.start : soon.refused)();
      quiet = 0;
      continue;
    }
    if (changed_.wait_for(lock, std::chrono::milliseconds(kWatchMs), [this] { return stopping_ || !soon_.empty(); })) continue;
    if (!open_) continue;
    quiet = Sounding() ? 0 : quiet + 1;
    if (quiet >= kQuietLooks) {
      Close();
      quiet = 0;
    }
  }
}

}  // namespace sound
