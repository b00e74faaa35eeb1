#pragma once
// Conversions between UTF-8 (captions, titles, the trace) and UTF-32 (where
// characters are counted, as in script lines).
#include <string>
#include <string_view>

namespace rt {

std::string ToUtf8(std::u32string_view text);
// Malformed UTF-8 becomes U+FFFD, one per bad byte.
std::u32string ToUtf32(std::string_view text);

}  // namespace rt
