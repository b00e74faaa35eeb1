#pragma once
// The decoders: picture bytes, already through the format checks, to pixels.
// PNG by libpng, GIF by giflib (the first image on its logical screen), icons
// by their own entries (bitmaps with their mask or alpha, or PNG), BMP by its
// own reader here, JPEG by libjpeg. Damaged data gives nothing; a decoder's own fault is not caught here,
// which is why files are decoded in a separate process (decoder_process.h).
#include <optional>
#include <span>

#include "toolkit/picture.h"

namespace tk {

std::optional<PictureData> DecodePictureBytes(std::span<const unsigned char> bytes);

}  // namespace tk
