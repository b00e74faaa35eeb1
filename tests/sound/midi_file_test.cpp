// The check that stands between a MIDI file and the synthesiser's parser.
// (Running status across a meta event, channel pressure, a foreign chunk, an
// RMID with an odd-length chunk before its data, and more: the regression
// files, which FluidSynth then plays.)
#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <filesystem>

#include "runtime/file_reader.h"
#include "sound/format/midi_file.h"
#include "support/sound_files.h"

namespace {

using testing_support::Bytes, testing_support::MidiHeader, testing_support::MidiTrack, testing_support::Riff,
    testing_support::RiffChunk;
const Bytes& kNote = testing_support::kOrganNote;

TEST(MidiCheck, AcceptsOnlyWellFormedFiles) {
  const Bytes tune = MidiHeader() + MidiTrack(kNote);
  const struct {
    const char* what;
    Bytes bytes;
    bool ok;
  } cases[] = {
      {"a note", tune, true},
      {"empty", {}, false},
      {"garbage", Bytes().Text("this is not a tune at all"), false},
      {"RMID with no data chunk", Riff("RMID", RiffChunk("INFO", Bytes().Text("ab"))), false},
      {"RMID whose data is no MIDI file", Riff("RMID", RiffChunk("data", Bytes().Text("MThd"))), false},
      {"RMID whose data runs past the form", Riff("RMID", RiffChunk("data", tune), -2) + Bytes().Text(".."), false},
      {"a RIFF form of another type", Riff("WAVE", RiffChunk("data", tune)), false},
      {"header only", MidiHeader(), false},
      {"no tracks", MidiHeader(1, 0) + MidiTrack(kNote), false},
      {"fewer tracks than declared", MidiHeader(1, 2) + MidiTrack(kNote), false},
      {"format 3", MidiHeader(3) + MidiTrack(kNote), false},
      {"division 0", MidiHeader(1, 1, 0) + MidiTrack(kNote), false},
      {"header length beyond the file", Bytes().Text("MThd").Be32(600).Fill(6, 1), false},
      {"track longer than the file", MidiHeader() + Bytes().Text("MTrk").Be32(1000) + kNote, false},
      {"event cut off", MidiHeader() + MidiTrack({0x00, 0x90, 0x3c}), false},
      {"a delta time of five bytes", MidiHeader() + MidiTrack({0xff, 0xff, 0xff, 0xff, 0x7f, 0x90, 0x3c, 0x64}), false},
      {"meta length beyond the track", MidiHeader() + MidiTrack(Bytes{0x00, 0xff, 0x01, 0x40}.Text("abc")), false},
      {"sysex length beyond the track", MidiHeader() + MidiTrack({0x00, 0xf0, 0x7f, 0x01}), false},
      {"a tempo of two bytes", MidiHeader() + MidiTrack({0x00, 0xff, 0x51, 0x02, 0x07, 0xa1}), false},
      {"a data byte with its top bit set", MidiHeader() + MidiTrack({0x00, 0x90, 0x3c, 0xe4}), false},
  };
  for (const auto& c : cases) EXPECT_EQ(sound::IsWellFormedMidi(c.bytes.vec()), c.ok) << c.what;
}

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
  const Bytes tune = MidiHeader() + MidiTrack(Bytes{0x00, 0xf0, 0x05, 0x7e, 0x7f, 0x09, 0x01, 0xf7} + kNote);
  const auto normalised = sound::NormaliseMidi(tune.vec());
  ASSERT_TRUE(normalised);
  EXPECT_EQ(*normalised, tune.vec()) << "already in its plainest form";
  EXPECT_EQ(FluidSynthTicks(*normalised), 480);
}

TEST(MidiCheck, WhatItAcceptsFluidSynthPlaysInFull) {
  for (const auto& e : std::filesystem::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/midi")) {
    const std::string name = e.path().filename().string();
    const auto tune = sound::NormaliseMidi(rt::ReadFile(e.path(), 1 << 20).value());
    ASSERT_EQ(tune.has_value(), name.starts_with("ok-")) << name;
    if (tune) {
      EXPECT_EQ(FluidSynthTicks(*tune), 96) << name;
    }
  }
  // Why the tune is written out again: FluidSynth plays nothing of the original.
  const auto foreign = rt::ReadFile(RADADED_SOURCE_DIR "/tests/regressions/midi/ok-foreign-chunk.mid", 1 << 20);
  EXPECT_EQ(FluidSynthTicks(*foreign), 0);
}

}  // namespace
