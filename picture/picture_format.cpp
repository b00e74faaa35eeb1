#include "picture/picture_format.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "runtime/byte_reader.h"

namespace pic {
namespace {

using Bytes = std::span<const unsigned char>;

bool StartsWith(Bytes b, std::initializer_list<unsigned char> magic) {
  return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin());
}

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool BmpOk(Bytes b) {
  if (b.size() < 26) return false;
  if (rt::Le32(b, 14) == 12) return AcceptablePictureSize(rt::Le16(b, 18), rt::Le16(b, 20));
  if (b.size() < 30) return false;
  const auto w = static_cast<std::int32_t>(rt::Le32(b, 18));
  const auto h = static_cast<std::int32_t>(rt::Le32(b, 22));
  return AcceptablePictureSize(w, std::llabs(h));
}

// Every chunk, from IHDR to IEND, lies inside the file.
bool PngOk(Bytes b) {
  if (b.size() < 33 || !std::equal(std::begin(kPngSignature), std::end(kPngSignature), b.begin())) return false;
  if (rt::Be32(b, 8) != 13 || std::memcmp(b.data() + 12, "IHDR", 4) != 0) return false;
  if (!AcceptablePictureSize(rt::Be32(b, 16), rt::Be32(b, 20))) return false;
  std::size_t i = 8;
  while (b.size() - i >= 12) {
    const std::uint32_t length = rt::Be32(b, i);
    if (length > 0x7FFFFFFF || length > b.size() - i - 12) return false;
    if (std::memcmp(b.data() + i + 4, "IEND", 4) == 0) return true;
    i += 12 + length;
  }
  return false;
}

// Skips a run of sub-blocks up to the empty one; false when it runs off the end.
bool SkipSubBlocks(Bytes b, std::size_t& i) {
  while (i < b.size() && b[i] != 0) i += 1 + b[i];
  if (i >= b.size()) return false;
  ++i;
  return true;
}

// Every block and every image descriptor, not only the first.
bool GifOk(Bytes b) {
  if (b.size() < 13) return false;
  const unsigned screen_w = rt::Le16(b, 6), screen_h = rt::Le16(b, 8);
  if ((screen_w || screen_h) && !AcceptablePictureSize(screen_w, screen_h)) return false;
  std::size_t i = 13;
  if (b[10] & 0x80) i += 3u << ((b[10] & 7) + 1);
  int images = 0;
  while (i < b.size() && b[i] != 0x3B) {
    if (b[i] == 0x21) {
      if (b.size() - i < 3) return false;
      i += 2;
      if (!SkipSubBlocks(b, i)) return false;
    } else if (b[i] == 0x2C) {
      if (b.size() - i < 10) return false;
      const unsigned w = rt::Le16(b, i + 5), h = rt::Le16(b, i + 7);  // an empty image draws nothing
      if (w > kMaxPictureSide || h > kMaxPictureSide || static_cast<long long>(w) * h > kMaxPicturePixels) return false;
      const unsigned flags = b[i + 9];
      i += 10;
      if (flags & 0x80) i += 3u << ((flags & 7) + 1);
      if (i >= b.size()) return false;
      const unsigned code_size = b[i++];
      if (code_size < 1 || code_size > 11) return false;
      if (!SkipSubBlocks(b, i)) return false;
      ++images;
    } else {
      return false;
    }
  }
  return images > 0;
}

bool JpegOk(Bytes b) {
  std::size_t i = 2;
  while (i + 9 < b.size()) {
    if (b[i] != 0xFF) return false;
    const unsigned marker = b[i + 1];
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    const unsigned len = rt::Be16(b, i + 2);
    const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (sof) return AcceptablePictureSize(rt::Be16(b, i + 7), rt::Be16(b, i + 5));
    if (len < 2) return false;
    i += 2 + len;
  }
  return false;
}

// Each entry's image lies inside the file and is a small bitmap or a PNG.
bool IcoOk(Bytes b) {
  const unsigned count = rt::Le16(b, 4);
  if (count == 0 || b.size() < 6 + 16ull * count) return false;
  for (unsigned k = 0; k < count; ++k) {
    const std::size_t entry = 6 + 16 * k;
    const std::uint32_t size = rt::Le32(b, entry + 8), at = rt::Le32(b, entry + 12);
    if (at > b.size() || size > b.size() - at) return false;
    const Bytes image = b.subspan(at, size);
    if (StartsWith(image, {0x89, 'P', 'N', 'G'})) {
      if (!PngOk(image)) return false;
      continue;
    }
    if (image.size() < 16 || rt::Le32(image, 0) < 40) return false;
    const auto w = static_cast<std::int32_t>(rt::Le32(image, 4));
    const auto h = static_cast<std::int32_t>(rt::Le32(image, 8));  // colour and mask, stacked
    if (w <= 0 || w > 256 || h <= 0 || h > 512) return false;
  }
  return true;
}

}  // namespace

bool AcceptablePictureSize(long long w, long long h) {
  return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide && w * h <= kMaxPicturePixels;
}

PictureFormat SniffPictureFormat(Bytes b) {
  if (StartsWith(b, {'B', 'M'})) return PictureFormat::kBmp;
  if (StartsWith(b, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(b, {'G', 'I', 'F', '8', '9', 'a'}))
    return PictureFormat::kGif;
  if (StartsWith(b, {0xFF, 0xD8, 0xFF})) return PictureFormat::kJpeg;
  if (StartsWith(b, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return PictureFormat::kPng;
  if (StartsWith(b, {0, 0, 1, 0}) && b.size() >= 6 && rt::Le16(b, 4) > 0) return PictureFormat::kIco;
  return PictureFormat::kUnknown;
}

bool PassesPictureChecks(Bytes b) {
  if (b.size() > static_cast<unsigned long long>(kMaxPictureFileBytes)) return false;
  switch (SniffPictureFormat(b)) {
    case PictureFormat::kBmp: return BmpOk(b);
    case PictureFormat::kGif: return GifOk(b);
    case PictureFormat::kJpeg: return JpegOk(b);
    case PictureFormat::kPng: return PngOk(b);
    case PictureFormat::kIco: return IcoOk(b);
    case PictureFormat::kUnknown: break;
  }
  return false;
}

}  // namespace pic
