#include "demo/vn_midi.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string>
#include <vector>

#include "runtime/trace.h"

namespace VN_Midi {
namespace {

sound::SilentMidiDevice g_silent;
sound::MidiDevice* g_device = &g_silent;

// The working directory as the process sees it now ("" when it cannot tell,
// which makes the open fail like any other).
std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace

std::string CurrentTune;

void UseDevice(sound::MidiDevice& device) { g_device = &device; }
void UseNoDevice() { g_device = &g_silent; }

void PlayMidi(std::string_view name) {
  tk::trace::Sound("PlayMidi", name);
  // The path is always the current directory, "\", and the name, unchanged.
  const std::string path = CurrentDirectory() + "\\" + std::string(name);
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
