#pragma once
// A picture: straight 32-bit ARGB pixels. Pictures are shared by reference;
// the empty picture is a null Picture.
#include <cstdint>
#include <memory>
#include <vector>

namespace tk {

struct PictureData {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // row by row, top to bottom
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace tk
