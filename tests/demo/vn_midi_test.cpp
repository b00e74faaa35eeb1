// VN_Midi against a recording device: the exact commands of each operation.
#include <gtest/gtest.h>

#include <filesystem>

#include "demo/vn_midi.h"
#include "support/recording_midi_device.h"
#include "support/temp_dir.h"
#include "support/test_name.h"

namespace {

using Ops = std::vector<std::string>;

class VnMidi : public ::testing::Test {
 protected:
  void SetUp() override {
    VN_Midi::UseDevice(device);
    VN_Midi::CurrentTune.clear();
    dir = std::filesystem::current_path().string();
  }
  void TearDown() override {
    VN_Midi::UseNoDevice();
    VN_Midi::CurrentTune.clear();
  }
  std::string In(const std::string& name) { return "open " + dir + "\\" + name; }

  testing_support::RecordingMidiDevice device;
  std::string dir;
};

TEST_F(VnMidi, PlayMidiClosesOpensByTheCurrentDirectoryAndPlaysEvenAfterAFailedOpen) {
  VN_Midi::PlayMidi("enka.mid");
  EXPECT_EQ(device.ops, (Ops{"close", In("enka.mid"), "play"}));
  EXPECT_EQ(VN_Midi::IsMidiPlaying(), 0);
  EXPECT_TRUE(VN_Midi::CurrentTune.empty()) << "PlayMidi never sets the current tune";
}

TEST_F(VnMidi, TheCurrentDirectoryIsReadAtEachCall) {
  const auto other = std::filesystem::temp_directory_path();
  {
    testing_support::InDirectory in(other);
    VN_Midi::PlayMidi("x.mid");
  }
  EXPECT_EQ(device.ops[1], "open " + other.string() + "\\x.mid");
}

TEST_F(VnMidi, IsMidiPlayingIsTrueForEveryModeBeginningWithP) {
  const std::pair<const char*, int> cases[] = {{"playing", -1}, {"paused", -1}, {"Paused", -1}, {"stopped", 0},
                                               {"not ready", 0}, {"open", 0},    {"", 0}};
  for (auto [mode, expected] : cases) {
    device.mode = mode;
    EXPECT_EQ(VN_Midi::IsMidiPlaying(), expected) << mode;
  }
}

TEST_F(VnMidi, WithNoCurrentTuneTheLoopCheckOpensTheBareDirectoryEveryTick) {
  VN_Midi::CheckMidiLoop();
  VN_Midi::CheckMidiLoop();
  const Ops once{"status", "close", "open " + dir + "\\", "play"};
  Ops twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(device.ops, twice);
}

TEST_F(VnMidi, ATunePlayedDirectlyIsFollowedByTheCurrentTuneNotByItself) {
  device.existing = {dir + "\\lmb.mid", dir + "\\night.mid"};
  VN_Midi::CurrentTune = "night.mid";
  VN_Midi::PlayMidi("lmb.mid");
  device.ops.clear();
  VN_Midi::CheckMidiLoop();
  EXPECT_EQ(device.ops, (Ops{"status"})) << "while a tune plays the loop check only asks";
  device.EndOfTune();
  device.ops.clear();
  VN_Midi::CheckMidiLoop();
  EXPECT_EQ(device.ops, (Ops{"status", "close", In("night.mid"), "play"}));
  EXPECT_EQ(VN_Midi::IsMidiPlaying(), -1);
  // It repeats whenever it ends, reopened from the file each time.
  device.EndOfTune();
  device.ops.clear();
  VN_Midi::CheckMidiLoop();
  EXPECT_EQ(device.ops, (Ops{"status", "close", In("night.mid"), "play"}));
  device.ops.clear();
  VN_Midi::StopMidi();
  EXPECT_EQ(device.ops, (Ops{"close"}));
}

}  // namespace
