#pragma once
// VN_Midi: the background music, one MIDI file at a time.
#include <string>
#include <string_view>

#include "integer.h"

namespace VN_Midi {

// The current background tune, repeated by CheckMidiLoop; empty at start.
extern std::string CurrentTune;

void PlayMidi(std::string_view name);
void StopMidi();
tk::Boolean IsMidiPlaying();
void CheckMidiLoop();

}  // namespace VN_Midi
