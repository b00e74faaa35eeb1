#pragma once
// Effects played through SDL_mixer. Play returns at once: the file is read,
// checked, decoded and converted on a worker thread of its own, so that a
// large or slow effect never holds up the windows, and then started on
// channel 0. The decoded effect is held while it sounds and let go once it
// has ended (a minute of effect takes 10 MB); one played again is decoded
// again, which takes a few milliseconds.
#include <cstddef>
#include <memory>
#include <string>

#include "runtime/thread.h"
#include "sound/effect_player.h"

namespace sound {

class AudioOutput;

class MixerEffectPlayer final : public EffectPlayer {
 public:
  // With no output (no audio device), Play does nothing. Effects play at
  // `volume` percent of full.
  explicit MixerEffectPlayer(AudioOutput* output, int volume = 100);
  // Halts the effect sounding; one still being decoded is abandoned, not
  // waited for.
  ~MixerEffectPlayer() override;
  MixerEffectPlayer(const MixerEffectPlayer&) = delete;
  MixerEffectPlayer& operator=(const MixerEffectPlayer&) = delete;

  void Play(const std::string& name) noexcept override;
  // Waits until every effect asked for so far has been started or refused.
  void Drain();
  // The decoded effect held now, in bytes (none once it has ended).
  std::size_t held_bytes() const;

 private:
  struct Worker;  // shared with the worker thread, which may outlive the player
  std::shared_ptr<Worker> worker_;
  // Abandoned: a decode (a file of up to 64 MB from a slow disk, and
  // libsndfile) cannot be interrupted. Once told to stop it touches nothing
  // but the worker it holds.
  rt::Thread thread_;
};

}  // namespace sound
