#include "midi_file_check.h"

#include <cstdint>
#include <cstring>

namespace sound {
namespace {

std::uint32_t Be32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Reads a variable-length quantity of at most four bytes.
bool ReadVarLen(std::span<const unsigned char> t, std::size_t& i, std::uint32_t& value) {
  value = 0;
  for (int n = 0; n < 4; ++n) {
    if (i >= t.size()) return false;
    const unsigned char b = t[i++];
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

bool IsWellFormedTrack(std::span<const unsigned char> t) {
  std::size_t i = 0;
  unsigned running = 0;
  bool ended = false;
  while (i < t.size() && !ended) {
    std::uint32_t delta = 0;
    if (!ReadVarLen(t, i, delta) || i >= t.size()) return false;
    unsigned status = t[i];
    if (status & 0x80) {
      ++i;
    } else {
      if (running == 0) return false;  // data with no status to run on
      status = running;
    }
    if (status == 0xFF) {  // meta event
      if (i >= t.size()) return false;
      const unsigned type = t[i++];
      std::uint32_t len = 0;
      if (!ReadVarLen(t, i, len) || len > t.size() - i) return false;
      if (type == 0x2F) ended = true;
      if (type == 0x51 && len != 3) return false;  // tempo
      i += len;
    } else if (status == 0xF0 || status == 0xF7) {  // system exclusive
      std::uint32_t len = 0;
      if (!ReadVarLen(t, i, len) || len > t.size() - i) return false;
      i += len;
    } else if (status >= 0xF1) {
      return false;  // system common and real-time messages have no place in a file
    } else {
      const unsigned kind = status & 0xF0;
      const std::size_t data = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
      if (data > t.size() - i) return false;
      for (std::size_t k = 0; k < data; ++k)
        if (t[i + k] & 0x80) return false;
      i += data;
      running = status;
    }
  }
  return true;
}

}  // namespace

bool IsWellFormedMidi(std::span<const unsigned char> bytes) {
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return false;
  const std::uint32_t header_length = Be32(bytes.data() + 4);
  if (header_length < 6 || header_length > bytes.size() - 8) return false;
  const unsigned format = (bytes[8] << 8) | bytes[9];
  const unsigned tracks = (bytes[10] << 8) | bytes[11];
  const unsigned division = (bytes[12] << 8) | bytes[13];
  if (format > 2 || tracks == 0 || division == 0) return false;
  if ((division & 0x8000) && (division & 0xFF) == 0) return false;  // SMPTE time with no ticks per frame

  std::size_t i = 8 + header_length;
  unsigned found = 0;
  while (found < tracks) {
    if (bytes.size() - i < 8) return false;
    const std::uint32_t length = Be32(bytes.data() + i + 4);
    if (length > bytes.size() - i - 8) return false;
    const auto body = bytes.subspan(i + 8, length);
    if (std::memcmp(bytes.data() + i, "MTrk", 4) == 0) {
      if (!IsWellFormedTrack(body)) return false;
      ++found;
    }
    i += 8 + length;
  }
  return true;
}

}  // namespace sound
