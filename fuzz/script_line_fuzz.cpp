// The script line rules over any decoded line: every line parses, as text
// exactly when it does not begin with "#".
#include <cstddef>
#include <cstdint>
#include <string>

#include "demo/script_line.h"
#include "runtime/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static rt::Cp932Decoder decoder;
  const std::u32string line = decoder.Decode(std::string(reinterpret_cast<const char*>(data), size));
  const script::Command command = script::ParseLine(line);
  if ((command.kind == script::Command::Kind::kText) == script::IsCommand(line)) __builtin_trap();
  return 0;
}
