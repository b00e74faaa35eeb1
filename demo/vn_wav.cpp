#include "demo/vn_wav.h"

#include <string>

#include "runtime/trace.h"

namespace VN_WAV {
namespace {
sound::SilentEffectPlayer g_silent;
sound::EffectPlayer* g_player = &g_silent;
}  // namespace

void UseDevice(sound::EffectPlayer& player) { g_player = &player; }
void UseNoDevice() { g_player = &g_silent; }

void PlayWav(std::string_view name) {
  tk::trace::Sound("PlayWav", name);
  try {
    g_player->Play(std::string(name));
  } catch (...) {
    // Every failure is swallowed: the caller goes on as if it had sounded.
  }
}

}  // namespace VN_WAV
