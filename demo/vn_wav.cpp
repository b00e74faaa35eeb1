#include "demo/vn_wav.h"

#include <new>
#include <string>

#include "demo/services.h"
#include "runtime/trace.h"

namespace VN_WAV {
namespace {
sound::SilentEffectPlayer g_silent;
}  // namespace

void PlayWav(std::string_view name) {
  rt::trace::Sound("PlayWav", name);
  // The player never fails visibly; only the name's copy may, for want of
  // memory, and that too is swallowed: the caller goes on as if it had sounded.
  try {
    sound::EffectPlayer* wired = Module1::Wired().effects;
    (wired ? *wired : g_silent).Play(std::string(name));
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace VN_WAV
