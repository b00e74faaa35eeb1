#pragma once
// JPEG by libjpeg: greys and colours as RGB.
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodeJpeg(std::span<const unsigned char> bytes);

}  // namespace pic
