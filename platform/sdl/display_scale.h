#pragma once
// The whole factor by which to enlarge the windows on this display (1 to 4):
// the desktop's own setting where one is given (GDK_SCALE, or the Xft.dpi
// resource that desktops publish for X11 programs), else the X screen's
// resolution, each taken to the nearest multiple of 96 dots per inch. 1 on an
// ordinary 96-dpi display, or when there is no X display to ask.
namespace sdl {

// The largest factor the windows are enlarged by.
inline constexpr int kMaxDisplayScale = 4;

int DisplayScale();

// The same from the figures themselves (tests): a GDK_SCALE value (null when
// unset), the resource database's text (null when none), and the screen's
// width in pixels and in millimetres (0 when unknown).
int DisplayScaleFrom(const char* gdk_scale, const char* resources, int width_px, int width_mm);

}  // namespace sdl
