#include "sound/fluid_midi_device.h"

#include <algorithm>
#include <mutex>

#include "sound/format/story_sound.h"
#include "sound/output/audio_output.h"
#include "sound/music/synthesizer.h"

namespace sound {

void FluidMidiDevice::Open(const std::string& name) {
  Close();
  auto tune = ReadTune(name).playable;
  if (!tune) return;
  tune_ = std::move(*tune);
  state_ = State::kOpen;
}

void FluidMidiDevice::Play() {
  if (state_ != State::kOpen || !synth_) return;
  if (!output_) {
    if (synth_->Start(tune_)) state_ = State::kStarted;
    return;
  }
  // The output may be asleep, and wake slowly: the tune counts as playing
  // meanwhile. One that the output cannot be woken for is never heard, and
  // so never ends: it is not started at all.
  state_ = State::kStarted;
  waking_ = std::make_shared<Waking>();
  output_->RunSoon(
      [waking = waking_, synth = synth_, tune = tune_] {
        std::lock_guard lock(waking->mutex);
        if (!waking->cancelled) waking->started = synth->Start(tune);
        waking->done = true;
      },
      [waking = waking_] {
        std::lock_guard lock(waking->mutex);
        waking->done = true;
      });
}

void FluidMidiDevice::Close() {
  if (waking_) {
    std::lock_guard lock(waking_->mutex);
    waking_->cancelled = true;
  }
  waking_.reset();
  if (state_ == State::kStarted) synth_->Stop();
  state_ = State::kClosed;
  tune_.clear();
}

std::string FluidMidiDevice::Mode() {
  switch (state_) {
    case State::kClosed: return "";
    case State::kOpen: return "stopped";
    case State::kStarted:
      if (waking_) {
        std::lock_guard lock(waking_->mutex);
        if (!waking_->done) return "playing";
        if (!waking_->started) return "stopped";
      }
      return synth_->Busy() ? "playing" : "stopped";
  }
  return "";
}

}  // namespace sound
