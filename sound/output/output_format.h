#pragma once
// The audio output's format, which effects are converted to before they play.
#include <SDL_audio.h>

namespace sound {

struct OutputFormat {
  int rate = 44100;
  SDL_AudioFormat format = AUDIO_S16SYS;
  int channels = 2;
};

}  // namespace sound
