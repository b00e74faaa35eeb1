#pragma once
// Finds the font file for a face name as the original platform names it,
// through fontconfig. The character set decides the language asked for, so
// that "ＭＳ ゴシック" with the Shift-JIS set comes out as a Japanese Gothic.
#include <string>

#include "toolkit/controls.h"

namespace tk {

struct ResolvedFont {
  std::string file;
  int index = 0;
  int pixel_size = 0;
  bool synthetic_bold = false;    // the face found has no bold of its own
  bool synthetic_italic = false;  // nor an italic
};

// Pixel size of a point size at 96 dots per inch (9.75 pt is 13 px).
int PointsToPixels(double points);

ResolvedFont ResolveFont(const FontSpec& font);

}  // namespace tk
