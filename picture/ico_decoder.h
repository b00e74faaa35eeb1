#pragma once
// Icons: the entry nearest the platform's icon size, a bitmap or a PNG.
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodeIco(std::span<const unsigned char> bytes);

}  // namespace pic
