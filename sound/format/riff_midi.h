#pragma once
// MIDI files wrapped in RIFF (form type "RMID", as Windows saved them): the
// standard MIDI file is the "data" chunk. The original platform's sequencer
// played them by their contents, whatever the file was called.
#include <optional>
#include <span>

namespace sound {

// The standard MIDI file inside: the bytes themselves when they are no RIFF
// file, the "data" chunk when they are an undamaged RMID file, nothing when
// the wrapper is damaged (a chunk that runs past the form or the form past
// the file, no "data" chunk) or the RIFF form is of another type.
std::optional<std::span<const unsigned char>> MidiInRiff(std::span<const unsigned char> bytes);

}  // namespace sound
