#pragma once
// The process's sound: the audio output (SDL_mixer), the synthesiser that
// renders the music into it, and the effects mixed over the music.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sound/fluid_midi_device.h"
#include "sound/levels.h"
#include "sound/effects/mixer_effect_player.h"
#include "sound/music/synthesizer.h"

namespace sound {

class AudioOutput;

class SoundSystem {
 public:
  // Opens the audio device and starts loading the SoundFont. With no audio
  // device or no SoundFont it says so once on standard error and stays silent.
  // on_tune_end runs on the audio thread when a tune has played its last event.
  // The music and the effects play at `levels`; one at 0 has no synthesiser
  // (synthesizer() is null), or plays no effect.
  explicit SoundSystem(std::function<void()> on_tune_end,
                       std::vector<std::string> soundfonts = DefaultSoundFonts(), Levels levels = {});
  // Silences everything and lets it go, in whatever state the sound is:
  // playing, ringing, asleep, loading, or with no device at all. Waits for
  // no work that can take long (a SoundFont loading, a tune rendering, an
  // effect decoding): that is abandoned.
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  MidiDevice& midi() { return *midi_; }
  MixerEffectPlayer& effects() { return *effects_; }
  Synthesizer* synthesizer() { return synth_.get(); }
  AudioOutput* output() { return output_.get(); }
  bool audio_open() const { return output_ != nullptr; }

 private:
  static void MixMusic(void* self, unsigned char* stream, int length);

  std::unique_ptr<AudioOutput> output_;
  std::unique_ptr<Synthesizer> synth_;
  std::unique_ptr<FluidMidiDevice> midi_;
  std::unique_ptr<MixerEffectPlayer> effects_;
  float music_gain_ = 1;  // read by the audio thread
};

}  // namespace sound
