#include "sound/sound_system.h"

#include <cstdint>

#include "sound/format/pcm.h"
#include "sound/output/audio_output.h"

namespace sound {

SoundSystem::SoundSystem(std::function<void()> on_tune_end, std::vector<std::string> soundfonts)
    : output_(AudioOutput::Open()) {
  if (output_) {
    synth_ = std::make_unique<Synthesizer>(output_->format().rate, std::move(soundfonts), std::move(on_tune_end));
    Synthesizer* synth = synth_.get();
    output_->SetMusic(&SoundSystem::MixMusic, synth, [synth] { return synth->Busy() || synth->Sounding(); });
  }
  midi_ = std::make_unique<FluidMidiDevice>(synth_.get(), output_.get());
  effects_ = std::make_unique<MixerEffectPlayer>(output_.get());
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

void SoundSystem::MixMusic(void* synth, unsigned char* stream, int length) {
  static_cast<Synthesizer*>(synth)->Render(reinterpret_cast<std::int16_t*>(stream), length / static_cast<int>(kFrameBytes));
}

}  // namespace sound
