#include "support/painted_windows.h"

#include <algorithm>
#include <memory>

#include "platform/sdl/form_renderer.h"
#include "platform/sdl/sdl_ptrs.h"
#include "toolkit/form.h"
#include "toolkit/twips.h"

namespace testing_support {

void PaintWithRenderer(FakePlatform& platform) {
  auto renderer = std::make_shared<sdl::FormRenderer>();
  platform.on_paint = [renderer](const tk::Form& form) {
    const sdl::SurfacePtr canvas(SDL_CreateRGBSurfaceWithFormat(0, std::max(1, tk::TwipsToPixels(form.client_width)),
                                                               std::max(1, tk::TwipsToPixels(form.client_height)),
                                                               32, SDL_PIXELFORMAT_ARGB8888));
    if (canvas) renderer->RenderInto(form, canvas.get());
  };
}

}  // namespace testing_support
