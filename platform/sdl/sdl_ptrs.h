#pragma once
// Owning pointers for SDL handles.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>

#include "picture/picture.h"

namespace sdl {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;

// A surface over a picture's own pixels (no copy; the picture must outlive it).
inline SurfacePtr SurfaceOf(const pic::PictureData& p) {
  return SurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(p.argb.data()), p.width, p.height,
                                                       32, p.width * 4, SDL_PIXELFORMAT_ARGB8888));
}

struct GameControllerDeleter {
  void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
};
using GameControllerPtr = std::unique_ptr<SDL_GameController, GameControllerDeleter>;

struct FontDeleter {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
using FontPtr = std::unique_ptr<TTF_Font, FontDeleter>;

}  // namespace sdl
