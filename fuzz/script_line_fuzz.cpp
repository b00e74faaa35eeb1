// The script line rules over any decoded line: command word, file names and
// the speaker number never fail but with a run-time error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "demo/script_line.h"
#include "runtime/cp932.h"
#include "runtime/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tk::Cp932Decoder decoder;
  const std::u32string line = decoder.Decode(std::string(reinterpret_cast<const char*>(data), size));
  script::CommandWord(line);
  script::MidiName(line);
  script::PictureName(line);
  try {
    script::SpeakerNumber(line);
  } catch (const tk::RuntimeError& e) {
    if (e.number() != tk::kOverflow) __builtin_trap();
  }
  return 0;
}
