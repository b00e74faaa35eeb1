#pragma once
// VN_WAV: one-shot sound effects over the music. Never reports a failure.
#include <string_view>

#include "sound/effect_player.h"

namespace VN_WAV {

// Starts the named WAV file once and returns at once; the music goes on.
void PlayWav(std::string_view name);

void UseDevice(sound::EffectPlayer& player);
// Back to the silent player, before the one in use goes away.
void UseNoDevice();

}  // namespace VN_WAV
