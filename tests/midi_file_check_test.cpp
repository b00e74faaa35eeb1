// The check that stands between a MIDI file and the synthesiser's parser.
#include <gtest/gtest.h>

#include <string>

#include "midi_file_check.h"
#include "test_name.h"

namespace {

using Bytes = std::string;

Bytes Be32(std::size_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}
Bytes Header(int format = 1, int tracks = 1, int division = 480) {
  return Bytes("MThd") + Be32(6) + Bytes{0, static_cast<char>(format), 0, static_cast<char>(tracks),
                                         static_cast<char>(division >> 8), static_cast<char>(division & 0xFF)};
}
Bytes Track(const Bytes& events) { return Bytes("MTrk") + Be32(events.size()) + events; }
const Bytes kNote{"\x00\x90\x3c\x64\x83\x60\x80\x3c\x00\x00\xff\x2f\x00", 13};

struct Case {
  const char* what;
  Bytes bytes;
  bool ok;
};

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
        Case{"empty", "", false},
        Case{"garbage", "this is not a tune at all", false},
        Case{"a RIFF wrapper", Bytes("RIFF") + Be32(4) + "RMID", false},
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

}  // namespace
