#pragma once
// The process's sound: the audio output (SDL_mixer), the synthesiser that
// renders the music into it, and the effects mixed over the music.
#include <SDL_mixer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sound/effect_player.h"
#include "sound/fluid_midi_device.h"
#include "sound/mixer_effect_player.h"
#include "sound/output_power.h"
#include "sound/synthesizer.h"

namespace sound {

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
  MixerEffectPlayer& effects() { return *effects_; }
  OutputFormat output_format() const { return format_; }
  Synthesizer* synthesizer() { return synth_.get(); }
  OutputPower* power() { return power_.get(); }
  bool audio_open() const { return audio_open_; }

 private:
  static void MixMusic(void* self, Uint8* stream, int length);

  bool audio_open_ = false;
  OutputFormat format_;
  std::unique_ptr<Synthesizer> synth_;
  std::unique_ptr<OutputPower> power_;
  std::unique_ptr<FluidMidiDevice> midi_;
  std::unique_ptr<MixerEffectPlayer> effects_;
};

}  // namespace sound
