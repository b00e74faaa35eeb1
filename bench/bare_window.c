/* The least an SDL program does to put a window on the screen, as the
   program maps its intro window: SDL's video and timer subsystems, the same
   hints, a hidden borderless window of the intro's size, centred, shown and
   painted black through its window surface; then it waits to be killed.
   first_window.sh times it beside the program. */
#include <SDL.h>

int main(int argc, char** argv) {
  (void)argc, (void)argv;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 326, 157,
                                        SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) return 1;
  SDL_ShowWindow(window);
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface) {
    SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
  }
  SDL_Event event;
  while (SDL_WaitEvent(&event)) {
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
