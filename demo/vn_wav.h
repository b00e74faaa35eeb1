#pragma once
// VN_WAV: one-shot sound effects over the music. Never reports a failure.
#include <string_view>

#include "sound/effect_player.h"

namespace VN_WAV {

// Starts the named WAV file once and returns at once; the music goes on.
void PlayWav(std::string_view name);

// The player is the wired one (services.h); these put one in place alone,
// for tests and benchmarks, and take it away.
void UseDevice(sound::EffectPlayer& player);
void UseNoDevice();

}  // namespace VN_WAV
