#include "sound/sound_system.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "runtime/notice.h"

namespace sound {
namespace {

constexpr int kRate = 44100;
constexpr int kBlockFrames = 1024;

}  // namespace

SoundSystem::SoundSystem(std::function<void()> on_tune_end, std::vector<std::string> soundfonts) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kBlockFrames, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) == 0) {
      audio_open_ = true;
    } else {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (!audio_open_) {
    tk::Notice("no audio device (%s); playing without sound", SDL_GetError());
  } else {
    int rate = kRate, channels = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &channels);
    format_ = OutputFormat{rate, format, channels};
    synth_ = std::make_unique<Synthesizer>(rate, std::move(soundfonts), std::move(on_tune_end));
    Mix_HookMusic(&SoundSystem::MixMusic, this);
    Synthesizer* synth = synth_.get();
    power_ = std::make_unique<OutputPower>(OutputPower::Hooks{
        [synth] { return synth->Busy() || synth->Sounding() || Mix_Playing(-1) > 0; },
        [] {
          Mix_HookMusic(nullptr, nullptr);
          Mix_CloseAudio();
        },
        [this] {
          // The same format exactly, so that the effects decoded for it still fit.
          if (Mix_OpenAudioDevice(format_.rate, format_.format, format_.channels, kBlockFrames, nullptr, 0) != 0)
            return false;
          Mix_HookMusic(&SoundSystem::MixMusic, this);
          return true;
        }});
  }
  midi_ = std::make_unique<FluidMidiDevice>(synth_.get(), power_.get());
  effects_ = std::make_unique<MixerEffectPlayer>(audio_open_, format_, power_.get());
}

SoundSystem::~SoundSystem() {
  effects_.reset();  // its worker stops before the mixer goes
  midi_.reset();
  power_.reset();
  if (audio_open_) {
    Mix_HookMusic(nullptr, nullptr);
    Mix_HaltChannel(-1);
  }
  synth_.reset();
  if (audio_open_) {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void SoundSystem::MixMusic(void* self, Uint8* stream, int length) {
  static_cast<SoundSystem*>(self)->synth_->Render(reinterpret_cast<std::int16_t*>(stream), length / 4);
}

}  // namespace sound
