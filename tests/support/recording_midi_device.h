#pragma once
// A MIDI device that records every command and plays nothing: files in
// `existing` open, and a played one stays "playing" until the test says it ended.
#include <set>
#include <string>
#include <vector>

#include "sound/midi_device.h"

namespace testing_support {

class RecordingMidiDevice final : public sound::MidiDevice {
 public:
  std::vector<std::string> ops;
  std::set<std::string> existing;
  std::string mode;  // what "status" answers

  void Open(const std::string& name) override {
    ops.push_back("open " + name);
    open_ = existing.count(name) > 0;
    mode = open_ ? "stopped" : "";
  }
  void Play() override {
    ops.push_back("play");
    if (open_) mode = "playing";
  }
  void Close() override {
    ops.push_back("close");
    open_ = false;
    mode = "";
  }
  std::string Mode() override {
    ops.push_back("status");
    return mode;
  }
  void EndOfTune() { mode = "stopped"; }

 private:
  bool open_ = false;
};

}  // namespace testing_support
