// The check that stands between a MIDI file and the synthesiser's parser.
#include <gtest/gtest.h>

#include <ostream>

#include <fluidsynth.h>

#include <filesystem>
#include <string>

#include "runtime/file_reader.h"
#include "sound/format/midi_file.h"
#include "support/test_name.h"

namespace {

using Bytes = std::string;

Bytes Be32(std::size_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}
Bytes Header(int format = 1, int tracks = 1, int division = 480) {
  return Bytes("MThd") + Be32(6) + Bytes{0, static_cast<char>(format), 0, static_cast<char>(tracks),
                                         static_cast<char>(division >> 8), static_cast<char>(division & 0xFF)};
}
Bytes Le32(std::size_t n) {
  return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
}
// A RIFF form of `type` holding `chunks`; `extra` added to its declared length.
Bytes Riff(const Bytes& chunks, const char* type = "RMID", int extra = 0) {
  return Bytes("RIFF") + Le32(4 + chunks.size() + extra) + type + chunks;
}
Bytes Chunk(const char* id, const Bytes& data) { return id + Le32(data.size()) + data + Bytes(data.size() % 2, '\0'); }
Bytes Track(const Bytes& events) { return Bytes("MTrk") + Be32(events.size()) + events; }
const Bytes kNote{"\x00\x90\x3c\x64\x83\x60\x80\x3c\x00\x00\xff\x2f\x00", 13};

struct Case {
  const char* what;
  Bytes bytes;
  bool ok;
};

// Cases print as their description in the test log.
void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class MidiCheck : public ::testing::TestWithParam<Case> {};

TEST_P(MidiCheck, AcceptsOnlyWellFormedFiles) {
  const auto& c = GetParam();
  const auto* data = reinterpret_cast<const unsigned char*>(c.bytes.data());
  EXPECT_EQ(sound::IsWellFormedMidi({data, c.bytes.size()}), c.ok) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiCheck,
    ::testing::Values(
        Case{"a note", Header() + Track(kNote), true},
        Case{"running status", Header() + Track(Bytes("\x00\x90\x3c\x64\x10\x3e\x64\x00\xff\x2f\x00", 11)), true},
        Case{"an unknown chunk is skipped", Header() + "XTRA" + Be32(2) + "ab" + Track(kNote), true},
        Case{"channel pressure has one data byte", Header() + Track(Bytes("\x00\xd0\x40\x00\xff\x2f\x00", 7)), true},
        Case{"running status across a meta event",
             Header() + Track(Bytes("\x00\x90\x3c\x40\x00\xff\x01\x01x\x60\x3c\x00\x00\xff\x2f\x00", 16)), true},
        Case{"empty", "", false},
        Case{"garbage", "this is not a tune at all", false},
        Case{"RMID", Riff(Chunk("data", Header() + Track(kNote))), true},
        Case{"RMID, the data after an odd-length chunk", Riff(Chunk("INFO", "odd") + Chunk("data", Header() + Track(kNote))),
             true},
        Case{"RMID with no data chunk", Riff(Chunk("INFO", "ab")), false},
        Case{"RMID whose data is no MIDI file", Riff(Chunk("data", "MThd")), false},
        Case{"RMID whose form runs past the file", Riff(Chunk("data", Header() + Track(kNote)), "RMID", 2), false},
        Case{"RMID whose data runs past the form",
             Riff(Chunk("data", Header() + Track(kNote)), "RMID", -2) + "..", false},
        Case{"a RIFF form of another type", Riff(Chunk("data", Header() + Track(kNote)), "WAVE"), false},
        Case{"header only", Header(), false},
        Case{"no tracks", Header(1, 0) + Track(kNote), false},
        Case{"fewer tracks than declared", Header(1, 2) + Track(kNote), false},
        Case{"format 3", Header(3) + Track(kNote), false},
        Case{"division 0", Header(1, 1, 0) + Track(kNote), false},
        Case{"header length beyond the file", Bytes("MThd") + Be32(600) + Bytes(6, '\1'), false},
        Case{"track longer than the file", Header() + "MTrk" + Be32(1000) + kNote, false},
        Case{"event cut off", Header() + Track(Bytes("\x00\x90\x3c", 3)), false},
        Case{"data before any status", Header() + Track(Bytes("\x00\x3c\x64", 3)), false},
        Case{"a delta time of five bytes", Header() + Track(Bytes("\xff\xff\xff\xff\x7f\x90\x3c\x64", 8)), false},
        Case{"meta length beyond the track", Header() + Track(Bytes("\x00\xff\x01\x40" "abc", 7)), false},
        Case{"sysex length beyond the track", Header() + Track(Bytes("\x00\xf0\x7f\x01", 4)), false},
        Case{"a tempo of two bytes", Header() + Track(Bytes("\x00\xff\x51\x02\x07\xa1", 6)), false},
        Case{"a data byte with its top bit set", Header() + Track(Bytes("\x00\x90\x3c\xe4", 4)), false}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

// FluidSynth's own parser, run over a tune: the length it finds, in ticks (0
// when it refuses the file, which it does without a word for some).
int FluidSynthTicks(std::span<const unsigned char> tune) {
  fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add_mem(player, tune.data(), tune.size());
  fluid_player_play(player);
  std::vector<float> block(2 * 4096);
  for (int k = 0; k < 4; ++k) fluid_synth_write_float(synth, 4096, block.data(), 0, 2, block.data(), 1, 2);
  const int ticks = fluid_player_get_total_ticks(player);
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  fluid_set_log_function(FLUID_ERR, fluid_default_log_function, nullptr);
  return ticks;
}

TEST(MidiCheck, AGeneralMidiResetAtTheStartIsKeptAndTheNotesAfterItPlay) {
  const Bytes tune = Header() + Track(Bytes("\x00\xf0\x05\x7e\x7f\x09\x01\xf7", 8) + kNote);
  const auto* data = reinterpret_cast<const unsigned char*>(tune.data());
  const auto normalised = sound::NormaliseMidi({data, tune.size()});
  ASSERT_TRUE(normalised);
  EXPECT_EQ(Bytes(normalised->begin(), normalised->end()), tune) << "already in its plainest form";
  EXPECT_EQ(FluidSynthTicks(*normalised), 480);
}

TEST(MidiCheck, WhatItAcceptsFluidSynthPlaysInFull) {
  for (const auto& e : std::filesystem::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/midi")) {
    const std::string name = e.path().filename().string();
    const auto tune = sound::NormaliseMidi(tk::ReadFile(e.path(), 1 << 20).value());
    ASSERT_EQ(tune.has_value(), name.starts_with("ok-")) << name;
    if (tune) {
      EXPECT_EQ(FluidSynthTicks(*tune), 96) << name;
    }
  }
  // Why the tune is written out again: FluidSynth plays nothing of the original.
  const auto foreign = tk::ReadFile(RADADED_SOURCE_DIR "/tests/regressions/midi/ok-foreign-chunk.mid", 1 << 20);
  EXPECT_EQ(FluidSynthTicks(*foreign), 0);
}

}  // namespace
