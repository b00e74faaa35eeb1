#pragma once
// A new FluidSynth synthesiser with the first General MIDI SoundFont of a
// list that loads. This is the slow part of the music's start (tens of
// milliseconds, seconds from a slow disk), done on a thread of its own.
#include <optional>
#include <string>
#include <vector>

#include "sound/music/fluid_ptrs.h"

namespace sound {

struct LoadedSynth {
  FluidSettingsPtr settings;  // first, so that the synthesiser goes before it
  FluidSynthPtr synth;
  double load_ms = 0;
};

// Nothing when none of the SoundFonts loads.
std::optional<LoadedSynth> LoadSoundFont(int sample_rate, const std::vector<std::string>& soundfonts);

}  // namespace sound
