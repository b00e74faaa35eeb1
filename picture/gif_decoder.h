#pragma once
// GIF by giflib: the first image, on its logical screen.
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodeGif(std::span<const unsigned char> bytes);

}  // namespace pic
