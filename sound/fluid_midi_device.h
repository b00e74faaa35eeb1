#pragma once
// The real MIDI device: opens a file by its path, checks it, and plays it on
// the process's one synthesiser.
#include <memory>
#include <mutex>
#include <vector>

#include "sound/midi_device.h"

namespace sound {

class AudioOutput;
class Synthesizer;

class FluidMidiDevice final : public MidiDevice {
 public:
  // synth may be null (no audio device): every tune is then silence. output,
  // when given, is woken for a tune.
  explicit FluidMidiDevice(Synthesizer* synth, AudioOutput* output = nullptr) : synth_(synth), output_(output) {}

  void Open(const std::string& name) override;
  void Play() override;
  void Close() override;
  std::string Mode() override;

 private:
  enum class State { kClosed, kOpen, kStarted };
  Synthesizer* synth_;
  AudioOutput* output_;
  State state_ = State::kClosed;
  std::vector<unsigned char> tune_;
  // A start waiting for the output to wake, shared with the output's watcher.
  struct Waking {
    std::mutex mutex;
    bool cancelled = false, done = false, started = false;
  };
  std::shared_ptr<Waking> waking_;
};

}  // namespace sound
