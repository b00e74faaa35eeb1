#include "platform/sdl/window_manager.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>

namespace sdl {
namespace {

struct XFreeDeleter {
  void operator()(unsigned char* data) const { XFree(data); }
};

}  // namespace

bool HasWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* raw = nullptr;
  const int got = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                     &format, &count, &after, &raw);
  const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
  return got == Success && data && type == XA_WINDOW && count == 1;
}

}  // namespace sdl
