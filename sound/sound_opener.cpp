#include "sound/sound_opener.h"

#include <SDL.h>

#include "sound/sound_system.h"

namespace sound {
namespace {

// The effects' player may throw; an effect that cannot play is not heard.
void Quietly(const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

SoundOpener::SoundOpener(std::function<std::unique_ptr<SoundSystem>()> open) {
  thread_ = std::thread([this, open = std::move(open)] {
    std::unique_ptr<SoundSystem> system = open();
    std::lock_guard lock(mutex_);
    system_ = std::move(system);
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
  if (open_)
    request(*system_);
  else
    kept_.push_back(std::move(request));
}

std::string SoundOpener::Ask(const std::function<std::string(SoundSystem&)>& question) {
  std::unique_lock lock(mutex_);
  opened_.wait(lock, [&] { return open_; });
  return question(*system_);
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
