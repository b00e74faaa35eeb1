#pragma once
// A whole number written as the command line and the program's own files
// write one: decimal digits alone, no sign, no blanks.
#include <charconv>
#include <optional>
#include <string_view>

namespace rt {

// Its value; nothing for anything but digits, or a number beyond a long.
inline std::optional<long> WholeNumber(std::string_view text) {
  long value = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

}  // namespace rt
