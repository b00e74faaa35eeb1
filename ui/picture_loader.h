#pragma once
// LoadPicture: a file name to a picture. The format is chosen by the file's
// own first bytes (BMP, GIF, JPEG, PNG, ICO) and only that format's decoder
// sees the file; anything else is an invalid picture.
#include <span>
#include <string>
#include <string_view>

#include "picture.h"

namespace tk {

enum class PictureFormat { kUnknown, kBmp, kGif, kJpeg, kPng, kIco };

PictureFormat SniffPictureFormat(std::span<const unsigned char> bytes);

// Largest picture accepted, in pixels on a side and in all.
inline constexpr int kMaxPictureSide = 4096;
inline constexpr long long kMaxPicturePixels = 4LL * 1024 * 1024;
inline constexpr long long kMaxPictureFileBytes = 64LL * 1024 * 1024;

// The empty name gives the empty picture; a missing file raises error 53, a
// file that is no picture (or too large a one) error 481.
Picture LoadPicture(std::string_view name);

// Decodes picture bytes; raises error 481 naming `where` when they are not one.
Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where);

}  // namespace tk
