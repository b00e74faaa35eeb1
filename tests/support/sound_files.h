#pragma once
// MIDI files and RIFF forms (RMID, WAVE) for the sound tests, on the byte builder.
#include "support/bytes.h"

namespace testing_support {

// A MIDI file's header chunk: its format, its number of tracks, its division
// (ticks a beat, or a time code).
inline Bytes MidiHeader(int format = 1, int tracks = 1, int division = 480) {
  return Bytes().BeChunk("MThd", Bytes().Be16(format).Be16(tracks).Be16(division));
}
inline Bytes MidiTrack(const Bytes& events) { return Bytes().BeChunk("MTrk", events); }

// An organ note of half a second (480 ticks at 120 beats a minute); the
// note-off is the last event.
inline const Bytes kOrganNote{0x00, 0xc0, 0x13, 0x00, 0x90, 0x3c, 0x64, 0x83, 0x60, 0x80, 0x3c, 0x00, 0x00, 0xff, 0x2f, 0x00};
inline Bytes OrganNoteTune() { return MidiHeader(0) + MidiTrack(kOrganNote); }

// A RIFF chunk, padded to an even length as RIFF wants.
inline Bytes RiffChunk(const std::string& tag, const Bytes& body) {
  return Bytes().LeChunk(tag, body).Fill(body.size() % 2, 0);
}
// A RIFF form of `type` holding `chunks`, `extra` added to its declared length.
inline Bytes Riff(const std::string& type, const Bytes& chunks, int extra = 0) {
  return Bytes().Text("RIFF").Le32(4 + chunks.size() + extra).Text(type).Add(chunks);
}

}  // namespace testing_support
