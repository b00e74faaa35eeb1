#pragma once
// Whether a window manager runs that can make a window cover the screen.
#include <SDL.h>

namespace sdl {

// True under an X11 window manager that announces itself (EWMH's
// _NET_SUPPORTING_WM_CHECK), and on other video drivers, where SDL's own
// full screen is the way; false on a bare X server, where nobody acts on a
// full-screen request and the window has to be moved and sized itself.
bool HasWindowManager(SDL_Window* window);

}  // namespace sdl
