#include "sound/format/wav_check.h"

#include <cstring>

#include "runtime/byte_reader.h"
#include "sound/format/riff.h"

namespace sound {
namespace {

constexpr unsigned kPcm = 1, kAdpcm = 2, kFloat = 3, kALaw = 6, kMuLaw = 7, kImaAdpcm = 0x11, kGsm610 = 0x31,
                   kExtensible = 0xFFFE;


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
  std::optional<WavFormat> format;
  bool have_data = false;
  bool sane = true;
  const bool whole = ForEachChunk(bytes.subspan(12), rifx, [&](std::string_view id, std::span<const unsigned char> body) {
    const rt::ByteReader c{body, rifx};
    if (id == "fmt " && !format) {
      if (body.size() < 16) return sane = false;
      WavFormat f;
      f.encoding = c.U16(0);
      f.channels = c.U16(2);
      f.rate = c.U32(4);
      f.bits = c.U16(14);
      if (f.encoding == kExtensible) {
        if (body.size() < 40) return sane = false;
        f.encoding = c.U16(24);  // the sub-format's first two bytes are its tag
        if (f.encoding != kPcm && f.encoding != kFloat) return sane = false;
      }
      if (f.channels < 1 || f.channels > 8 || c.U16(12) == 0) return sane = false;
      if (f.rate < kMinEffectRate || f.rate > kMaxEffectRate || !SaneBits(f.encoding, f.bits)) return sane = false;
      format = f;
    } else if (id == "data" && format && !have_data) {
      format->data_bytes = body.size();
      have_data = true;
    }
    return true;
  });
  if (!whole || !sane) return std::nullopt;
  if (!format || !have_data) return std::nullopt;
  if (format->data_bytes > MinBytesPerSecond(*format) * kMaxEffectSeconds) return std::nullopt;
  return format;
}

}  // namespace sound
