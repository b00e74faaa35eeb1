// VN_Midi against a recording device: what is played, and when the loop
// check starts a tune again.
#include <gtest/gtest.h>

#include "demo/vn_midi.h"
#include "support/recording_midi_device.h"

namespace {

class VnMidi : public ::testing::Test {
 protected:
  void SetUp() override {
    VN_Midi::UseDevice(device);
    VN_Midi::CurrentTune.clear();
  }
  void TearDown() override {
    VN_Midi::UseNoDevice();
    VN_Midi::CurrentTune.clear();
  }
  // The files opened since the last call, and whether the last one plays.
  std::vector<std::string> Opened() {
    std::vector<std::string> out;
    for (const auto& op : device.ops)
      if (op.rfind("open ", 0) == 0) out.push_back(op.substr(5));
    device.ops.clear();
    return out;
  }

  testing_support::RecordingMidiDevice device;
};

TEST_F(VnMidi, TheLoopCheckStartsTheCurrentTuneAgainOnlyWhenNothingPlays) {
  VN_Midi::CheckMidiLoop();
  EXPECT_EQ(Opened(), (std::vector<std::string>{""})) << "no current tune: no name, which fails";
  device.existing = {"lmb.mid", "night.mid"};
  VN_Midi::CurrentTune = "night.mid";
  VN_Midi::PlayMidi("lmb.mid");
  VN_Midi::CheckMidiLoop();
  EXPECT_EQ(Opened(), (std::vector<std::string>{"lmb.mid"})) << "PlayMidi sets no current tune";
  for (int round = 0; round < 2; ++round) {
    device.EndOfTune();
    VN_Midi::CheckMidiLoop();
    VN_Midi::CheckMidiLoop();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"night.mid"})) << "reopened from its file each time";
    EXPECT_EQ(VN_Midi::IsMidiPlaying(), -1);
  }
  VN_Midi::StopMidi();
  EXPECT_EQ(VN_Midi::IsMidiPlaying(), 0);
}

}  // namespace
