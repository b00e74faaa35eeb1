#include "sound/fluid_midi_device.h"

#include <algorithm>

#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "sound/format/midi_file.h"
#include "sound/output/audio_output.h"
#include "sound/music/synthesizer.h"

namespace sound {

void FluidMidiDevice::Open(const std::string& path) {
  Close();
  // The path comes as the original platform's programs build it: the
  // current directory, "\", and the name.
  const auto resolved = tk::ResolveBuiltPath(path);
  if (!resolved) return;
  const auto bytes = tk::ReadFile(*resolved, kMaxMidiFileBytes);
  if (!bytes) return;
  auto tune = NormaliseMidi(*bytes);
  if (!tune) return;
  tune_ = std::move(*tune);
  state_ = State::kOpen;
}

void FluidMidiDevice::Play() {
  if (state_ != State::kOpen) return;
  if (!synth_) return;
  // A tune that the output cannot be woken for is never heard, and so never
  // ends: it is not started at all.
  bool started = false;
  const auto start = [&] { started = synth_->Start(tune_); };
  if (output_) output_->Run(start);
  else start();
  if (started) state_ = State::kStarted;
}

void FluidMidiDevice::Close() {
  if (state_ == State::kStarted) synth_->Stop();
  state_ = State::kClosed;
  tune_.clear();
}

std::string FluidMidiDevice::Mode() {
  switch (state_) {
    case State::kClosed: return "";
    case State::kOpen: return "stopped";
    case State::kStarted: return synth_->Busy() ? "playing" : "stopped";
  }
  return "";
}

}  // namespace sound
