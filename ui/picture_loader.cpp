#include "picture_loader.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "file_names.h"
#include "runtime_error.h"
#include "sdl_ptrs.h"

namespace tk {
namespace {

bool StartsWith(std::span<const unsigned char> b, std::initializer_list<unsigned char> magic) {
  if (b.size() < magic.size()) return false;
  return std::equal(magic.begin(), magic.end(), b.begin());
}

std::uint32_t Le32(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t Be32(std::span<const unsigned char> b, std::size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}
unsigned Le16(std::span<const unsigned char> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
unsigned Be16(std::span<const unsigned char> b, std::size_t at) { return (b[at] << 8) | b[at + 1]; }

struct Size {
  long long w;
  long long h;
};

// The picture size the header declares, read before any decoder allocates for it.
std::optional<Size> DeclaredSize(PictureFormat format, std::span<const unsigned char> b) {
  switch (format) {
    case PictureFormat::kBmp: {
      if (b.size() < 26) return std::nullopt;
      if (Le32(b, 14) == 12) return Size{Le16(b, 18), Le16(b, 20)};
      const auto w = static_cast<std::int32_t>(Le32(b, 18));
      const auto h = static_cast<std::int32_t>(Le32(b, 22));
      return Size{std::abs(static_cast<long long>(w)), std::abs(static_cast<long long>(h))};
    }
    case PictureFormat::kGif: {
      // The decoder sizes its surface by the first image descriptor.
      if (b.size() < 13) return std::nullopt;
      std::size_t i = 13;
      if (b[10] & 0x80) i += 3u << ((b[10] & 7) + 1);
      while (i < b.size()) {
        if (b[i] == 0x2C) {
          if (i + 9 > b.size()) return std::nullopt;
          return Size{Le16(b, i + 5), Le16(b, i + 7)};
        }
        if (b[i] != 0x21 || i + 2 >= b.size()) return std::nullopt;
        i += 2;  // introducer and label, then sub-blocks up to an empty one
        while (i < b.size() && b[i] != 0) i += 1 + b[i];
        ++i;
      }
      return std::nullopt;
    }
    case PictureFormat::kPng:
      if (b.size() < 24) return std::nullopt;
      return Size{Be32(b, 16), Be32(b, 20)};
    case PictureFormat::kJpeg: {
      std::size_t i = 2;
      while (i + 9 < b.size()) {
        if (b[i] != 0xFF) return std::nullopt;
        const unsigned marker = b[i + 1];
        if (marker == 0xFF) { ++i; continue; }
        const unsigned len = Be16(b, i + 2);
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) return Size{Be16(b, i + 7), Be16(b, i + 5)};
        if (len < 2) return std::nullopt;
        i += 2 + len;
      }
      return std::nullopt;
    }
    case PictureFormat::kIco: {
      // The decoder sizes each image by the bitmap header inside its entry,
      // not by the directory's one-byte sizes: every header must be small.
      const unsigned count = Le16(b, 4);
      if (b.size() < 6 + 16ull * count) return std::nullopt;
      Size largest{0, 0};
      for (unsigned i = 0; i < count; ++i) {
        const std::uint32_t at = Le32(b, 6 + 16 * i + 12);
        if (at > b.size() || b.size() - at < 12) return std::nullopt;
        const auto w = static_cast<std::int32_t>(Le32(b, at + 4));
        const auto h = static_cast<std::int32_t>(Le32(b, at + 8));  // colour and mask, stacked
        if (w <= 0 || w > 256 || h == 0 || h < -512 || h > 512) return std::nullopt;
        largest = Size{std::max<long long>(largest.w, w), std::max<long long>(largest.h, std::abs(h) / 2 + 1)};
      }
      return largest;
    }
    case PictureFormat::kUnknown:
      break;
  }
  return std::nullopt;
}

bool Acceptable(Size s) {
  return s.w > 0 && s.h > 0 && s.w <= kMaxPictureSide && s.h <= kMaxPictureSide && s.w * s.h <= kMaxPicturePixels;
}

}  // namespace

PictureFormat SniffPictureFormat(std::span<const unsigned char> b) {
  if (StartsWith(b, {'B', 'M'})) return PictureFormat::kBmp;
  if (StartsWith(b, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(b, {'G', 'I', 'F', '8', '9', 'a'}))
    return PictureFormat::kGif;
  if (StartsWith(b, {0xFF, 0xD8, 0xFF})) return PictureFormat::kJpeg;
  if (StartsWith(b, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return PictureFormat::kPng;
  if (StartsWith(b, {0, 0, 1, 0}) && b.size() >= 6 && Le16(b, 4) > 0) return PictureFormat::kIco;
  return PictureFormat::kUnknown;
}

Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where) {
  const PictureFormat format = SniffPictureFormat(bytes);
  const auto declared = DeclaredSize(format, bytes);
  if (!declared || !Acceptable(*declared)) Raise(kInvalidPicture, where);

  SurfacePtr decoded;
  {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) Raise(kInvalidPicture, where);
    SDL_Surface* s = nullptr;
    switch (format) {
      case PictureFormat::kBmp: s = IMG_LoadBMP_RW(rw); break;
      case PictureFormat::kGif: s = IMG_LoadGIF_RW(rw); break;
      case PictureFormat::kJpeg: s = IMG_LoadJPG_RW(rw); break;
      case PictureFormat::kPng: s = IMG_LoadPNG_RW(rw); break;
      case PictureFormat::kIco: s = IMG_LoadICO_RW(rw); break;
      case PictureFormat::kUnknown: break;
    }
    SDL_RWclose(rw);
    decoded.reset(s);
  }
  if (!decoded || !Acceptable({decoded->w, decoded->h})) Raise(kInvalidPicture, where);
  SurfacePtr argb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) Raise(kInvalidPicture, where);

  auto picture = std::make_shared<PictureData>();
  picture->width = argb->w;
  picture->height = argb->h;
  picture->argb.resize(static_cast<std::size_t>(argb->w) * argb->h);
  for (int y = 0; y < argb->h; ++y)
    std::memcpy(&picture->argb[static_cast<std::size_t>(y) * argb->w],
                static_cast<const unsigned char*>(argb->pixels) + static_cast<std::size_t>(y) * argb->pitch,
                static_cast<std::size_t>(argb->w) * 4);
  return picture;
}

Picture LoadPicture(std::string_view name) {
  if (name.empty()) return nullptr;
  const std::string where(name);
  const auto path = ResolveName(name);
  if (!path || std::filesystem::is_directory(*path)) Raise(kFileNotFound, where);
  const auto bytes = ReadFile(*path, kMaxPictureFileBytes);
  if (!bytes) Raise(kInvalidPicture, where);
  return DecodePicture(*bytes, where);
}

}  // namespace tk
