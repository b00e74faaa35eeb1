#pragma once
// The process's sound: the audio output (SDL_mixer), the synthesiser that
// renders the music into it, and the effects mixed over the music.
#include <SDL_mixer.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effect_player.h"
#include "fluid_midi_device.h"
#include "synthesizer.h"

namespace sound {

class MixerEffectPlayer final : public EffectPlayer {
 public:
  explicit MixerEffectPlayer(bool enabled) : enabled_(enabled) {}
  void Play(const std::string& name) override;
  static constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

 private:
  struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
  };
  bool enabled_;
  std::map<std::string, std::unique_ptr<Mix_Chunk, ChunkDeleter>> cache_;
};

class SoundSystem {
 public:
  // Opens the audio device and starts loading the SoundFont. With no audio
  // device or no SoundFont it says so once on standard error and stays silent.
  // on_tune_end runs on the audio thread when a tune has played its last event.
  explicit SoundSystem(std::function<void()> on_tune_end,
                       std::vector<std::string> soundfonts = DefaultSoundFonts());
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  MidiDevice& midi() { return *midi_; }
  EffectPlayer& effects() { return *effects_; }
  Synthesizer* synthesizer() { return synth_.get(); }
  bool audio_open() const { return audio_open_; }

 private:
  static void MixMusic(void* self, Uint8* stream, int length);

  bool audio_open_ = false;
  std::unique_ptr<Synthesizer> synth_;
  std::unique_ptr<FluidMidiDevice> midi_;
  std::unique_ptr<MixerEffectPlayer> effects_;
};

}  // namespace sound
