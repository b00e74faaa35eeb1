#pragma once
// VN_Midi: the background music, one MIDI file at a time on one device.
// No operation reports a failure: a tune that cannot play is silence.
#include <string>
#include <string_view>

#include "runtime/integer.h"
#include "sound/midi_device.h"

namespace VN_Midi {

// The current background tune, which CheckMidiLoop starts whenever nothing
// plays; empty at start, written only by the script's music command.
extern std::string CurrentTune;

// Closes what is open, opens the named file from the current directory and
// starts it from the beginning; returns while it plays.
void PlayMidi(std::string_view name);
// Stops and closes the tune, if any.
void StopMidi();
// True (-1) when the device's mode begins with P (playing or paused).
rt::Boolean IsMidiPlaying();
// When nothing plays, PlayMidi with CurrentTune.
void CheckMidiLoop();

// The device behind the four operations is the wired one (services.h);
// these put one in place alone, for tests and benchmarks, and take it away.
void UseDevice(sound::MidiDevice& device);
void UseNoDevice();

}  // namespace VN_Midi
