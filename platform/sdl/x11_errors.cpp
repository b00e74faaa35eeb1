#include "platform/sdl/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace sdl {
namespace {

XErrorHandler g_previous = nullptr;
void (*g_on_lost)() = nullptr;

int OnError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return g_previous ? g_previous(display, error) : 0;
}

int OnConnectionLost(Display*) {
  if (g_on_lost) g_on_lost();
  return 0;  // Xlib ends the process when this returns
}

}  // namespace

void GuardX11Errors(void (*on_lost)()) {
  g_on_lost = on_lost;
  XErrorHandler previous = XSetErrorHandler(OnError);
  if (previous != OnError) g_previous = previous;
  XSetIOErrorHandler(OnConnectionLost);
}

}  // namespace sdl
