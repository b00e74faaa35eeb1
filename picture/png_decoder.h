#pragma once
// PNG by libpng: every colour type comes out as 8-bit RGBA.
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodePng(std::span<const unsigned char> bytes);

}  // namespace pic
