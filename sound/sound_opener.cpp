#include "sound/sound_opener.h"

#include <SDL.h>

#include <chrono>
#include <new>

#include "sound/sound_system.h"

namespace sound {
namespace {

// The sound never fails visibly: an opening or a request that runs out of
// memory leaves the story silent.
void Quietly(const std::function<void()>& f) noexcept {
  try {
    f();
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

SoundOpener::SoundOpener(std::function<std::unique_ptr<SoundSystem>()> open) {
  thread_ = rt::Thread("sound opener", rt::Thread::End::kAbandoned, [shared = shared_, open = std::move(open)] {
    // Without memory for it, the story plays on in silence.
    std::unique_ptr<SoundSystem> system;
    Quietly([&] { system = open(); });
    {
      std::lock_guard lock(shared->mutex);
      if (!shared->abandoned) {
        shared->system = std::move(system);
        if (shared->system)
          for (auto& request : shared->kept) Quietly([&] { request(*shared->system); });
        shared->kept.clear();
        shared->open = true;
      }
    }
    shared->opened.notify_all();
    system.reset();  // opened for nobody: let go here
    SDL_TLSCleanup();  // what SDL keeps for this thread (its error text), as its own threads do
  });
}

SoundOpener::~SoundOpener() {
  std::unique_ptr<SoundSystem> system;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
    shared_->kept.clear();
    system = std::move(shared_->system);
  }
  shared_->opened.notify_all();
}

bool SoundOpener::opened() {
  std::lock_guard lock(shared_->mutex);
  return shared_->open;
}

void SoundOpener::Do(Request request, const KeptMode& kept_mode) {
  std::lock_guard lock(shared_->mutex);
  if (shared_->open) {
    if (shared_->system) request(*shared_->system);
  } else {
    shared_->kept.push_back(std::move(request));
    if (kept_mode) shared_->kept_mode = kept_mode(shared_->kept_mode);
  }
}

void SoundOpener::Midi::Open(const std::string& name) {
  owner_.Do([name](SoundSystem& s) { s.midi().Open(name); }, [](const std::string&) { return "stopped"; });
}
void SoundOpener::Midi::Play() {
  owner_.Do([](SoundSystem& s) { s.midi().Play(); },
                [](const std::string& mode) { return mode.empty() ? mode : std::string("playing"); });
}
void SoundOpener::Midi::Close() {
  owner_.Do([](SoundSystem& s) { s.midi().Close(); }, [](const std::string&) { return ""; });
}
std::string SoundOpener::Midi::Mode() {
  // Never waits for the device.
  std::lock_guard lock(owner_.shared_->mutex);
  if (!owner_.shared_->open) return owner_.shared_->kept_mode;
  return owner_.shared_->system ? owner_.shared_->system->midi().Mode() : std::string();
}

void SoundOpener::Effects::Play(const std::string& name) noexcept {
  // An effect belongs to its moment: one kept for longer than this while the
  // device opened is not played at all.
  static constexpr auto kLate = std::chrono::milliseconds(250);
  const auto asked = std::chrono::steady_clock::now();
  Quietly([&] {
    owner_.Do([name, asked](SoundSystem& s) {
      if (std::chrono::steady_clock::now() - asked <= kLate) s.effects().Play(name);
    });
  });
}

}  // namespace sound
