#include "toolkit/picture_loader.h"

#include <vector>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"

namespace tk {

Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = DecodeInHelper(bytes);
  if (!decoded) Raise(kInvalidPicture, where);
  return std::make_shared<const PictureData>(std::move(*decoded));
}

Picture DecodeBuiltInPicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = DecodePictureBytes(bytes);
  if (!decoded) Raise(kInvalidPicture, where);
  decoded->pixel_art = true;
  return std::make_shared<const PictureData>(std::move(*decoded));
}

Picture LoadPicture(std::string_view name) {
  if (name.empty()) return nullptr;
  const std::string where(name);
  const auto path = ResolveName(name);
  if (!path) Raise(kFileNotFound, where);
  std::vector<unsigned char> bytes;
  const int error = ReadRegularFile(*path, kMaxPictureFileBytes, bytes);
  if (error == kOutOfMemory) Raise(kInvalidPicture, where);
  if (error) Raise(error, where);
  return DecodePicture(bytes, where);
}

}  // namespace tk
