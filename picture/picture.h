#pragma once
// A picture: straight 32-bit ARGB pixels. Pictures are shared by reference;
// the empty picture is a null Picture.
#include <cstdint>
#include <memory>
#include <vector>

namespace pic {

struct PictureData {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // row by row, top to bottom
  // Drawn pixel by pixel (the program's own icons and sprites): enlarged, it
  // keeps its pixels sharp; a scene picture is enlarged smoothly.
  bool pixel_art = false;
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace pic
