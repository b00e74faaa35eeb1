#pragma once
// What the X connection reports asynchronously, taken in hand. A wake-up
// that SDL sends to a window (from another thread, or just before the window
// is destroyed) can reach the server after the window is gone; the BadWindow
// error that comes back is expected and harmless, and is dropped instead of
// ending the process. Every other error goes where it went before. A lost
// connection (the X server gone, the window killed) calls `on_lost`, which
// must not return.
namespace sdl {

void GuardX11Errors(void (*on_lost)());

}  // namespace sdl
