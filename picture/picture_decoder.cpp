#include "picture/picture_decoder.h"

#include "picture/bitmap_decoder.h"
#include "picture/gif_decoder.h"
#include "picture/ico_decoder.h"
#include "picture/jpeg_decoder.h"
#include "picture/picture_format.h"
#include "picture/png_decoder.h"

namespace pic {

std::optional<PictureData> DecodePictureBytes(std::span<const unsigned char> bytes) {
  if (!PassesPictureChecks(bytes)) return std::nullopt;
  switch (SniffPictureFormat(bytes)) {
    case PictureFormat::kPng: return DecodePng(bytes);
    case PictureFormat::kGif: return DecodeGif(bytes);
    case PictureFormat::kIco: return DecodeIco(bytes);
    case PictureFormat::kBmp: return DecodeBmp(bytes);
    case PictureFormat::kJpeg: return DecodeJpeg(bytes);
    case PictureFormat::kUnknown: break;
  }
  return std::nullopt;
}

}  // namespace pic
