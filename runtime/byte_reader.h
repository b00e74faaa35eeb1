#pragma once
// Little- and big-endian integers read from bytes; the caller has checked
// that they lie inside the span.
#include <cstddef>
#include <cstdint>
#include <span>

namespace rt {

inline std::uint32_t Le32(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::uint32_t Be32(std::span<const unsigned char> b, std::size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}
inline unsigned Le16(std::span<const unsigned char> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
inline unsigned Be16(std::span<const unsigned char> b, std::size_t at) { return (b[at] << 8) | b[at + 1]; }

}  // namespace rt

namespace rt {

inline std::uint32_t Be24(std::span<const unsigned char> b, std::size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 16) | (b[at + 1] << 8) | b[at + 2];
}

// Integers in the byte order a file declares (RIFF little-endian, RIFX
// big-endian), read from bytes that the caller has checked hold them.
struct ByteReader {
  std::span<const unsigned char> bytes;
  bool big_endian = false;
  std::uint32_t U32(std::size_t at) const { return big_endian ? Be32(bytes, at) : Le32(bytes, at); }
  unsigned U16(std::size_t at) const { return big_endian ? Be16(bytes, at) : Le16(bytes, at); }
};

}  // namespace rt
