#include "demo/vn_wav.h"

#include <string>

#include "demo/services.h"
#include "runtime/trace.h"

namespace VN_WAV {
namespace {
sound::SilentEffectPlayer g_silent;
}  // namespace

void PlayWav(std::string_view name) {
  tk::trace::Sound("PlayWav", name);
  try {
    sound::EffectPlayer* wired = Module1::Wired().effects;
    (wired ? *wired : g_silent).Play(std::string(name));
  } catch (...) {
    // Every failure is swallowed: the caller goes on as if it had sounded.
  }
}

}  // namespace VN_WAV
