#include "platform/sdl/display_scale.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace sdl {
namespace {

int FromDpi(double dpi) { return std::clamp(static_cast<int>(std::lround(dpi / 96.0)), 1, kMaxDisplayScale); }

}  // namespace

int DisplayScaleFrom(const char* gdk_scale, const char* resources, int width_px, int width_mm) {
  if (gdk_scale && *gdk_scale) {
    const int n = std::atoi(gdk_scale);
    if (n >= 1) return std::min(n, kMaxDisplayScale);
  }
  if (resources) {
    const std::string text(resources);
    for (std::size_t at = 0; (at = text.find("Xft.dpi:", at)) != std::string::npos; at += 8) {
      if (at > 0 && text[at - 1] != '\n') continue;
      const double dpi = std::strtod(text.c_str() + at + 8, nullptr);
      if (dpi > 0) return FromDpi(dpi);
    }
  }
  if (width_px > 0 && width_mm > 0) return FromDpi(width_px * 25.4 / width_mm);
  return 1;
}

int DisplayScale() {
  const char* gdk = std::getenv("GDK_SCALE");
  Display* display = XOpenDisplay(nullptr);
  if (!display) return DisplayScaleFrom(gdk, nullptr, 0, 0);
  const int screen = DefaultScreen(display);
  const int scale = DisplayScaleFrom(gdk, XResourceManagerString(display), DisplayWidth(display, screen),
                                     DisplayWidthMM(display, screen));
  XCloseDisplay(display);
  return scale;
}

}  // namespace sdl
