#pragma once
// The audio output's format, which effects are converted to before they play.
#include <SDL_audio.h>

#include "sound/format/pcm.h"

namespace sound {

struct OutputFormat {
  int rate = kPreferredRate;
  SDL_AudioFormat format = AUDIO_S16SYS;
  int channels = kChannels;
};

}  // namespace sound
