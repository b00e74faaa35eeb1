#include "sound/sound_opener.h"

#include <SDL.h>

#include "sound/sound_system.h"

namespace sound {
namespace {

// The effects' player may throw; an effect that cannot play is not heard.
// Opening may run out of memory.
void Quietly(const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

SoundOpener::SoundOpener(std::function<std::unique_ptr<SoundSystem>()> open) {
  thread_ = std::thread([this, open = std::move(open)] {
    // Without memory for it, the story plays on in silence.
    std::unique_ptr<SoundSystem> system;
    Quietly([&] { system = open(); });
    std::lock_guard lock(mutex_);
    system_ = std::move(system);
    if (system_)
      for (auto& request : kept_) Quietly([&] { request(*system_); });
    kept_.clear();
    open_ = true;
    opened_.notify_all();
    SDL_TLSCleanup();  // what SDL keeps for this thread (its error text), as its own threads do
  });
}

SoundOpener::~SoundOpener() {
  thread_.join();
  std::lock_guard lock(mutex_);
  system_.reset();
}

void SoundOpener::Do(Request request) {
  std::lock_guard lock(mutex_);
  if (open_) {
    if (system_) request(*system_);
  } else
    kept_.push_back(std::move(request));
}

std::string SoundOpener::Ask(const std::function<std::string(SoundSystem&)>& question) {
  std::unique_lock lock(mutex_);
  opened_.wait(lock, [&] { return open_; });
  return system_ ? question(*system_) : std::string();
}

void SoundOpener::Midi::Open(const std::string& path) {
  owner_.Do([path](SoundSystem& s) { s.midi().Open(path); });
}
void SoundOpener::Midi::Play() {
  owner_.Do([](SoundSystem& s) { s.midi().Play(); });
}
void SoundOpener::Midi::Close() {
  owner_.Do([](SoundSystem& s) { s.midi().Close(); });
}
std::string SoundOpener::Midi::Mode() {
  return owner_.Ask([](SoundSystem& s) { return s.midi().Mode(); });
}

void SoundOpener::Effects::Play(const std::string& name) {
  owner_.Do([name](SoundSystem& s) { s.effects().Play(name); });
}

}  // namespace sound
