#include "demo/services.h"


namespace Module1 {
namespace {
Services g_wired;
}  // namespace

const Services& Wired() { return g_wired; }

Wiring::Wiring(const Services& services) { g_wired = services; }
Wiring::~Wiring() { g_wired = {}; }

}  // namespace Module1

// The music or the effects alone, for the tests and benchmarks that need
// nothing else (declared in vn_midi.h and vn_wav.h, which include this
// module's header).
namespace VN_Midi {
void UseDevice(sound::MidiDevice& device) { Module1::g_wired.midi = &device; }
void UseNoDevice() { Module1::g_wired.midi = nullptr; }
}  // namespace VN_Midi

namespace VN_WAV {
void UseDevice(sound::EffectPlayer& player) { Module1::g_wired.effects = &player; }
void UseNoDevice() { Module1::g_wired.effects = nullptr; }
}  // namespace VN_WAV
