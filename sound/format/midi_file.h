#pragma once
// Checks a Standard MIDI File, bare or wrapped in an RMID file, before the
// synthesiser's own, lazy parser sees it: the header chunk, every chunk's
// length within the file, and every event of every track within its chunk.
// What passes is written out again in the plainest form, which the
// synthesiser's parser reads as this check did: the bare standard MIDI file,
// its header and tracks alone (chunks of other kinds dropped), every event
// with its own status byte (running status spelled out, also where a file
// carries it across a meta or system-exclusive event), and every track closed
// by an end-of-track event.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace sound {

// The largest MIDI file read.
inline constexpr std::size_t kMaxMidiFileBytes = 16 * 1024 * 1024;

std::optional<std::vector<unsigned char>> NormaliseMidi(std::span<const unsigned char> bytes);

inline bool IsWellFormedMidi(std::span<const unsigned char> bytes) { return NormaliseMidi(bytes).has_value(); }

// How long a tune written out by NormaliseMidi lasts, in seconds, to its last
// event (the tempo changes of every track applied).
double MidiSeconds(std::span<const unsigned char> normalised);

}  // namespace sound
