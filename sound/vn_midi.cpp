#include "vn_midi.h"

namespace VN_Midi {

std::string CurrentTune;

void PlayMidi(std::string_view) {}
void StopMidi() {}
tk::Boolean IsMidiPlaying() { return tk::False; }
void CheckMidiLoop() {}

}  // namespace VN_Midi
