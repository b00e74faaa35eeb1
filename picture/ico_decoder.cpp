#include "picture/ico_decoder.h"

#include <cstdlib>

#include "picture/bitmap_decoder.h"
#include "picture/picture_format.h"
#include "picture/png_decoder.h"
#include "runtime/byte_reader.h"

namespace pic {

// The entry shown is the one nearest the platform's 32 x 32 icon size, and of
// those the one with the most colours.
std::optional<PictureData> DecodeIco(std::span<const unsigned char> b) {
  const unsigned count = rt::Le16(b, 4);
  int best = -1;
  long long best_distance = 0, best_bits = 0;
  for (unsigned k = 0; k < count; ++k) {
    const std::size_t e = 6 + 16 * k;
    const long long w = b[e] ? b[e] : 256, h = b[e + 1] ? b[e + 1] : 256;
    const long long distance = std::llabs(w - 32) + std::llabs(h - 32);
    const long long bits = rt::Le16(b, e + 6);
    if (best < 0 || distance < best_distance || (distance == best_distance && bits > best_bits)) {
      best = static_cast<int>(k);
      best_distance = distance;
      best_bits = bits;
    }
  }
  const std::size_t e = 6 + 16 * static_cast<std::size_t>(best);
  const auto image = b.subspan(rt::Le32(b, e + 12), rt::Le32(b, e + 8));
  if (SniffPictureFormat(image) == PictureFormat::kPng) return DecodePng(image);
  return DecodeIconBitmap(image);
}

}  // namespace pic
