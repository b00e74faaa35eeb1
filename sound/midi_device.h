#pragma once
// The MIDI device as VN_Midi sees it: one alias that holds at most one open
// sequence, with four commands. The real device renders through FluidSynth;
// tests record the commands.
#include <string>

namespace sound {

class MidiDevice {
 public:
  virtual ~MidiDevice() = default;
  // Opens the story's tune of that name (found as every story file is
  // found, from the current directory) as a sequence, ready to play.
  virtual void Open(const std::string& name) = 0;
  // Starts what is open from its beginning; nothing happens when nothing is.
  virtual void Play() = 0;
  // Stops and closes whatever is open.
  virtual void Close() = 0;
  // The mode: "playing", "paused", "stopped", or "" when nothing is open.
  virtual std::string Mode() = 0;
};

// A device that never sounds: every open fails.
class SilentMidiDevice final : public MidiDevice {
 public:
  void Open(const std::string&) override {}
  void Play() override {}
  void Close() override {}
  std::string Mode() override { return ""; }
};

}  // namespace sound
