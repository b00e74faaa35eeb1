#pragma once
// Device-independent bitmaps, read here: BMP files (1 to 32 bits a pixel,
// palettes, bit masks, 4- and 8-bit run lengths) and the bitmap entries of
// icons (a colour image over an AND mask).
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodeBmp(std::span<const unsigned char> bytes);
std::optional<PictureData> DecodeIconBitmap(std::span<const unsigned char> bytes);

}  // namespace pic
