// The display's scale: the desktop's setting first, then the X resource
// desktops publish, then the screen's resolution, each to the nearest
// multiple of 96 dots per inch, between 1 and 4.
#include <gtest/gtest.h>

#include "platform/sdl/display_scale.h"

namespace {

TEST(DisplayScale, FromTheDesktopTheResourcesOrTheScreen) {
  struct Case {
    const char* what;
    const char* gdk_scale;
    const char* resources;
    int width_px, width_mm;
    int scale;
  } const cases[] = {
      {"an ordinary screen of 96 dpi", nullptr, nullptr, 1024, 271, 1},
      {"Xvfb -dpi 192", nullptr, nullptr, 2048, 271, 2},
      {"a 4K laptop panel (about 280 dpi)", nullptr, nullptr, 3840, 348, 3},
      {"Xft.dpi says 192", nullptr, "Xft.antialias:\t1\nXft.dpi:\t192\n", 1024, 271, 2},
      {"Xft.dpi at the start", nullptr, "Xft.dpi:\t144\n", 1024, 271, 2},
      {"Xft.dpi 120 rounds to 1", nullptr, "Xft.dpi: 120\n", 3840, 348, 1},
      {"another resource that ends in Xft.dpi", nullptr, "Other.Xft.dpi: 384\n", 1024, 271, 1},
      {"a commented-out Xft.dpi", nullptr, "!Xft.dpi: 192\n", 1024, 271, 1},
      {"GDK_SCALE wins", "2", "Xft.dpi: 96\n", 1024, 271, 2},
      {"GDK_SCALE beyond 4", "8", nullptr, 1024, 271, 4},
      {"a GDK_SCALE of nonsense is passed over", "x", nullptr, 2048, 271, 2},
      {"nothing known", nullptr, nullptr, 0, 0, 1},
      {"a screen of 1000 dpi", nullptr, nullptr, 4000, 100, 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(tk::DisplayScaleFrom(c.gdk_scale, c.resources, c.width_px, c.width_mm), c.scale) << c.what;
}

}  // namespace
