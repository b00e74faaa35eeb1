#pragma once
// What a picture file is, read from its own bytes before any decoder sees it:
// the format by its magic, and whether the sizes it declares are acceptable.
#include <cstdint>
#include <span>

namespace pic {

enum class PictureFormat { kUnknown, kBmp, kGif, kJpeg, kPng, kIco };

PictureFormat SniffPictureFormat(std::span<const unsigned char> bytes);

// Largest picture accepted, in pixels on a side and in all.
inline constexpr int kMaxPictureSide = 4096;
inline constexpr long long kMaxPicturePixels = 4LL * 1024 * 1024;
inline constexpr long long kMaxPictureFileBytes = 64LL * 1024 * 1024;

bool AcceptablePictureSize(long long width, long long height);

// True when the file's structure can be handed to a decoder: every size it
// declares is acceptable, and (PNG) every chunk or (GIF) every block and image
// descriptor lies inside the file.
bool PassesPictureChecks(std::span<const unsigned char> bytes);

}  // namespace pic
