#include "demo/vn_midi.h"

#include <cctype>
#include <string>

#include "runtime/file_names.h"
#include "runtime/trace.h"

namespace VN_Midi {
namespace {

sound::SilentMidiDevice g_silent;
sound::MidiDevice* g_device = &g_silent;

}  // namespace

std::string CurrentTune;

void UseDevice(sound::MidiDevice& device) { g_device = &device; }
void UseNoDevice() { g_device = &g_silent; }

void PlayMidi(std::string_view name) {
  tk::trace::Sound("PlayMidi", name);
  // The path is always the current directory, "\", and the name, unchanged.
  const std::string path = tk::CurrentDirectory() + "\\" + std::string(name);
  g_device->Close();
  g_device->Open(path);
  g_device->Play();  // also after a failed open
}

void StopMidi() {
  tk::trace::Sound("StopMidi");
  g_device->Close();
}

tk::Boolean IsMidiPlaying() {
  const std::string mode = g_device->Mode();
  const bool playing = !mode.empty() && std::toupper(static_cast<unsigned char>(mode[0])) == 'P';
  return playing ? tk::True : tk::False;
}

void CheckMidiLoop() {
  if (!IsMidiPlaying()) PlayMidi(CurrentTune);
}

}  // namespace VN_Midi
