#pragma once
// Checks a Standard MIDI File before the synthesiser's own, lazy parser sees
// it: the header chunk, every chunk's length within the file, and every event
// of every track within its chunk.
#include <span>

namespace sound {

bool IsWellFormedMidi(std::span<const unsigned char> bytes);

}  // namespace sound
