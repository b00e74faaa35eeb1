#include "demo/vn_midi.h"

#include <cctype>
#include <string>

#include "demo/services.h"
#include "runtime/trace.h"

namespace VN_Midi {
namespace {

sound::SilentMidiDevice g_silent;

sound::MidiDevice& Device() {
  sound::MidiDevice* wired = Module1::Wired().midi;
  return wired ? *wired : g_silent;
}

}  // namespace

std::string CurrentTune;

void PlayMidi(std::string_view name) {
  rt::trace::Sound("PlayMidi", name);
  // The name unchanged, looked up from the current directory as it is now.
  Device().Close();
  Device().Open(std::string(name));
  Device().Play();  // also after a failed open
}

void StopMidi() {
  rt::trace::Sound("StopMidi");
  Device().Close();
}

rt::Boolean IsMidiPlaying() {
  const std::string mode = Device().Mode();
  const bool playing = !mode.empty() && std::toupper(static_cast<unsigned char>(mode[0])) == 'P';
  return playing ? rt::True : rt::False;
}

void CheckMidiLoop() {
  if (!IsMidiPlaying()) PlayMidi(CurrentTune);
}

}  // namespace VN_Midi
