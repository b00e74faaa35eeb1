#pragma once
// Twips: 1440 to the inch, 15 to the pixel at 96 dots per inch.
#include <cmath>

namespace tk {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return static_cast<int>(std::floor(twips / kTwipsPerPixel + 0.5)); }
inline double PixelsToTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

}  // namespace tk
