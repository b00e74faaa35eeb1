#pragma once
// Effects played through SDL_mixer. Play returns at once: the file is read,
// checked, decoded and converted on a worker thread of its own, so that a
// large or slow effect never holds up the windows, and then started on
// channel 0. The decoded effect is held while it sounds and let go once it
// has ended (a minute of effect takes 10 MB); one played again is decoded
// again, which takes a few milliseconds.
#include <SDL_mixer.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/effect_decoder.h"
#include "sound/effect_player.h"
#include "sound/output_power.h"

namespace sound {

class MixerEffectPlayer final : public EffectPlayer {
 public:
  // With enabled false, Play does nothing (no audio device). power, when
  // given, wakes the output for an effect.
  MixerEffectPlayer(bool enabled, OutputFormat format, OutputPower* power = nullptr);
  ~MixerEffectPlayer() override;
  MixerEffectPlayer(const MixerEffectPlayer&) = delete;
  MixerEffectPlayer& operator=(const MixerEffectPlayer&) = delete;

  void Play(const std::string& name) override;
  // Waits until every effect asked for so far has been started or refused.
  void Drain();
  // The decoded effect held now, in bytes (none once it has ended).
  std::size_t held_bytes() const { return held_bytes_; }

  static constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

 private:
  struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
  };
  struct Effect {
    std::vector<unsigned char> samples;  // the chunk plays straight from these
    std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk;
  };

  void Work();
  void Start(const std::string& name);
  void Hold(Effect effect);  // lets the one held before go
  bool Ended() const;

  static constexpr int kLookMs = 250;  // how often a held effect is looked at

  const bool enabled_;
  const OutputFormat format_;
  OutputPower* const power_;
  Effect playing_;  // the worker's alone
  std::atomic<std::size_t> held_bytes_{0};
  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::string> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace sound
