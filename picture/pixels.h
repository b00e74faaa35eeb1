#pragma once
// What every decoder writes: straight ARGB pixels, into a picture whose size
// is within the limits and whose pixels start out transparent.
#include <cstdint>
#include <optional>

#include "picture/picture.h"
#include "picture/picture_format.h"

namespace pic {

inline std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// A transparent picture of w x h, or nothing when no picture may be that large.
inline std::optional<PictureData> BlankPicture(long long w, long long h) {
  if (!AcceptablePictureSize(w, h)) return std::nullopt;
  PictureData p;
  p.width = static_cast<int>(w);
  p.height = static_cast<int>(h);
  p.argb.assign(static_cast<std::size_t>(w * h), 0);
  return p;
}

}  // namespace pic
