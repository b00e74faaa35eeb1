#include "sound/format/wav_check.h"

#include <cstring>

namespace sound {
namespace {

constexpr unsigned kPcm = 1, kAdpcm = 2, kFloat = 3, kALaw = 6, kMuLaw = 7, kImaAdpcm = 0x11, kGsm610 = 0x31,
                   kExtensible = 0xFFFE;

struct Reader {
  std::span<const unsigned char> b;
  bool big;
  std::uint32_t U32(std::size_t at) const {
    const unsigned char* p = b.data() + at;
    return big ? (std::uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]
               : p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
  }
  unsigned U16(std::size_t at) const {
    const unsigned char* p = b.data() + at;
    return big ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8);
  }
};

bool SaneBits(unsigned encoding, unsigned bits) {
  switch (encoding) {
    case kPcm: return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kFloat: return bits == 32 || bits == 64;
    case kALaw:
    case kMuLaw: return bits == 8;
    case kAdpcm:
    case kImaAdpcm: return bits == 4;
    case kGsm610: return bits == 0 || bits == 1;  // GSM writers leave it 0 or 1
    default: return false;
  }
}

// Bytes a second of the encoding takes at the least, to bound its length.
std::uint64_t MinBytesPerSecond(const WavFormat& f) {
  switch (f.encoding) {
    case kGsm610: return f.rate * 65ull / 320;  // 65 bytes for 320 samples
    case kAdpcm:
    case kImaAdpcm: return f.rate * f.channels / 2ull;
    default: return f.rate * f.channels * (f.bits / 8ull);
  }
}

}  // namespace

std::optional<WavFormat> CheckWav(std::span<const unsigned char> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) return std::nullopt;
  const bool riff = std::memcmp(bytes.data(), "RIFF", 4) == 0, rifx = std::memcmp(bytes.data(), "RIFX", 4) == 0;
  if (!riff && !rifx) return std::nullopt;
  const Reader r{bytes, rifx};
  std::optional<WavFormat> format;
  bool have_data = false;
  std::size_t i = 12;
  while (bytes.size() - i >= 8) {
    const std::uint32_t length = r.U32(i + 4);
    if (length > bytes.size() - i - 8) return std::nullopt;  // a chunk past the end of the file
    const std::size_t body = i + 8;
    if (std::memcmp(bytes.data() + i, "fmt ", 4) == 0 && !format) {
      if (length < 16) return std::nullopt;
      WavFormat f;
      f.encoding = r.U16(body);
      f.channels = r.U16(body + 2);
      f.rate = r.U32(body + 4);
      f.bits = r.U16(body + 14);
      if (f.encoding == kExtensible) {
        if (length < 40) return std::nullopt;
        f.encoding = r.U16(body + 24);  // the sub-format's first two bytes are its tag
        if (f.encoding != kPcm && f.encoding != kFloat) return std::nullopt;
      }
      if (f.channels < 1 || f.channels > 8 || r.U16(body + 12) == 0) return std::nullopt;
      if (f.rate < kMinEffectRate || f.rate > kMaxEffectRate || !SaneBits(f.encoding, f.bits)) return std::nullopt;
      format = f;
    } else if (std::memcmp(bytes.data() + i, "data", 4) == 0 && format && !have_data) {
      format->data_bytes = length;
      have_data = true;
    }
    i = body + length + (length & 1);
    if (i > bytes.size()) break;  // the pad byte of the last chunk may be missing
  }
  if (!format || !have_data) return std::nullopt;
  if (format->data_bytes > MinBytesPerSecond(*format) * kMaxEffectSeconds) return std::nullopt;
  return format;
}

}  // namespace sound
