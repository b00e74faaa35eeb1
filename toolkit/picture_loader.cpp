#include "toolkit/picture_loader.h"

#include <vector>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"

namespace tk {

pic::Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = pic::DecodeInHelper(bytes);
  if (!decoded) rt::Raise(rt::kInvalidPicture, where);
  return std::make_shared<const pic::PictureData>(std::move(*decoded));
}

pic::Picture DecodeBuiltInPicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = pic::DecodePictureBytes(bytes);
  if (!decoded) rt::Raise(rt::kInvalidPicture, where);
  decoded->pixel_art = true;
  return std::make_shared<const pic::PictureData>(std::move(*decoded));
}

pic::Picture LoadPicture(std::string_view name) {
  if (name.empty()) return nullptr;
  const std::string where(name);
  const auto path = rt::ResolveName(name);
  if (!path) rt::Raise(rt::kFileNotFound, where);
  std::vector<unsigned char> bytes;
  const int error = rt::ReadRegularFile(*path, pic::kMaxPictureFileBytes, bytes);
  if (error == rt::kOutOfMemory) rt::Raise(rt::kInvalidPicture, where);
  if (error) rt::Raise(error, where);
  return DecodePicture(bytes, where);
}

}  // namespace tk
