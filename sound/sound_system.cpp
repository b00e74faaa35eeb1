#include "sound/sound_system.h"

#include <cmath>
#include <cstdint>

#include "sound/format/pcm.h"
#include "sound/output/audio_output.h"

namespace sound {

SoundSystem::SoundSystem(std::function<void()> on_tune_end, std::vector<std::string> soundfonts, Levels levels)
    : output_(AudioOutput::Open()), music_gain_(static_cast<float>(levels.music) / 100) {
  if (output_ && levels.music > 0) {
    synth_ = std::make_unique<Synthesizer>(output_->format().rate, std::move(soundfonts), std::move(on_tune_end));
    Synthesizer* synth = synth_.get();
    output_->SetMusic(&SoundSystem::MixMusic, this, [synth] { return synth->Busy() || synth->Sounding(); });
  }
  midi_ = std::make_unique<FluidMidiDevice>(synth_.get(), output_.get());
  effects_ = std::make_unique<MixerEffectPlayer>(levels.effects > 0 ? output_.get() : nullptr, levels.effects);
}

// The one order of letting go: what starts sounds first, then what makes
// them, the output last.
SoundSystem::~SoundSystem() {
  effects_.reset();  // halts its effect; a decode in flight is abandoned
  midi_.reset();
  if (output_) output_->SetMusic(nullptr, nullptr, {});  // the audio thread no longer calls the synthesiser
  synth_.reset();    // a SoundFont loading, or a block rendering, is abandoned
  output_.reset();   // halts and closes the mixer, if it is open, and SDL's audio
}

void SoundSystem::MixMusic(void* self, unsigned char* stream, int length) {
  const auto& system = *static_cast<SoundSystem*>(self);
  auto* samples = reinterpret_cast<std::int16_t*>(stream);
  const int frames = length / static_cast<int>(kFrameBytes);
  system.synth_->Render(samples, frames);
  if (system.music_gain_ >= 1) return;
  for (int i = 0; i < frames * static_cast<int>(kFrameBytes / sizeof(std::int16_t)); ++i)
    samples[i] = static_cast<std::int16_t>(std::lrint(samples[i] * system.music_gain_));
}

}  // namespace sound
