#include "support/golden.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/form_renderer.h"
#include "platform/sdl/sdl_ptrs.h"
#include "toolkit/twips.h"

namespace testing_support {
namespace {

// Pixels that differ by more than a little in any channel.
int Differences(SDL_Surface* a, SDL_Surface* b) {
  int n = 0;
  for (int y = 0; y < a->h; ++y)
    for (int x = 0; x < a->w; ++x) {
      const Uint32 p = reinterpret_cast<Uint32*>(static_cast<Uint8*>(a->pixels) + y * a->pitch)[x];
      const Uint32 q = reinterpret_cast<Uint32*>(static_cast<Uint8*>(b->pixels) + y * b->pitch)[x];
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((p >> shift) & 255) - static_cast<int>((q >> shift) & 255)) > 24) {
          ++n;
          break;
        }
    }
  return n;
}

}  // namespace

void ExpectLooksLike(SDL_Surface* drawn, const std::string& name) {
  const std::string path = std::string(RADADED_SOURCE_DIR) + "/tests/golden/" + name;
  sdl::SurfacePtr actual(SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_ARGB8888, 0));
  if (const char* update = std::getenv("RADADED_UPDATE_GOLDEN"); update && *update) {
    ASSERT_EQ(IMG_SavePNG(actual.get(), path.c_str()), 0);
    return;
  }
  sdl::SurfacePtr loaded(IMG_Load(path.c_str()));
  ASSERT_TRUE(loaded) << "no golden image " << path << " (run with RADADED_UPDATE_GOLDEN=1)";
  sdl::SurfacePtr expected(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  ASSERT_EQ(expected->w, actual->w);
  ASSERT_EQ(expected->h, actual->h);
  const int diff = Differences(actual.get(), expected.get());
  if (diff > 40) IMG_SavePNG(actual.get(), (name + ".actual.png").c_str());
  EXPECT_LE(diff, 40) << "differs from " << path << "; what was drawn is in " << name << ".actual.png";
}

sdl::SurfacePtr Paint(const tk::Form& form, int width, int height, int scale) {
  if (width <= 0) width = tk::TwipsToPixels(form.client_width), height = tk::TwipsToPixels(form.client_height);
  sdl::SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width * scale, height * scale, 32, SDL_PIXELFORMAT_ARGB8888));
  sdl::FormRenderer renderer(scale);
  renderer.RenderInto(form, s.get());
  return s;
}

}  // namespace testing_support
