#pragma once
// The decoders: picture bytes to pixels, in this process. The bytes go
// through the format checks (picture_format.h), then to the decoder of the
// format their first bytes name: PNG by libpng, GIF by giflib, JPEG by
// libjpeg, BMP and icons by their own readers here. Damaged data gives
// nothing; a decoder's own fault is not caught here, which is why files from
// outside are decoded in a separate process (decoder_process.h).
#include <optional>
#include <span>

#include "picture/picture.h"

namespace pic {

std::optional<PictureData> DecodePictureBytes(std::span<const unsigned char> bytes);

}  // namespace pic
