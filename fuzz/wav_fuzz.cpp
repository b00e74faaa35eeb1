// The WAV check and the effect decoder: a checked file decodes to at most a
// minute of sound in the output format, or to nothing.
#include <cstddef>
#include <cstdint>

#include "sound/effects/effect_decoder.h"
#include "sound/format/wav_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const sound::OutputFormat out{44100, AUDIO_S16SYS, 2};
  const auto samples = sound::DecodeEffect({data, size}, out);
  if (samples && samples->size() > 4ull * out.rate * (sound::kMaxEffectSeconds + 1)) __builtin_trap();
  if (samples && !sound::CheckWav({data, size})) __builtin_trap();
  return 0;
}
