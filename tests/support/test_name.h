#pragma once
// Readable names for table-driven cases: their description, as an identifier.
#include <cctype>
#include <string>

namespace testing_support {

inline std::string TestName(const std::string& what, std::size_t index) {
  std::string out = std::to_string(index) + "_";
  for (unsigned char c : what) out += std::isalnum(c) ? static_cast<char>(c) : '_';
  return out;
}

}  // namespace testing_support
