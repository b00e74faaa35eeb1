// Code page 932 line input over any bytes: every line comes out, then error 62.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/runtime_error.h"
#include "runtime/text_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto in = rt::TextInput::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  std::size_t lines = 0;
  while (!in.Eof()) {
    in.LineInput();
    if (++lines > size + 1) __builtin_trap();  // each line takes at least one byte
  }
  try {
    in.LineInput();
    __builtin_trap();
  } catch (const rt::RuntimeError& e) {
    if (e.number() != rt::kInputPastEndOfFile) __builtin_trap();
  }
  return 0;
}
