#pragma once
// LoadPicture: a file name to a picture. The format is chosen by the file's
// own first bytes (BMP, GIF, JPEG, PNG, ICO); the sizes it declares are
// checked, and it is decoded in a helper process (picture/decoder_process.h),
// so that no damaged file can crash or hang the program.
#include <span>
#include <string>
#include <string_view>

#include "picture/picture.h"

namespace tk {

// The empty name gives the empty picture; a missing file raises error 53, one
// that cannot be read (a folder, a pipe, a link loop) error 75, a file that is
// no picture (or too large a one, or one whose decoder fails) error 481. A
// picture helper that cannot be started raises 53 or 75 naming the helper.
pic::Picture LoadPicture(std::string_view name);

// Decodes picture bytes from outside in the helper process; raises error 481
// naming `where` when they are not one.
pic::Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where);

// Decodes the program's own built-in artwork in this process.
pic::Picture DecodeBuiltInPicture(std::span<const unsigned char> bytes, const std::string& where);

}  // namespace tk
