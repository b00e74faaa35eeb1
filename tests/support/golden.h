#pragma once
// Compares a drawn surface with a golden PNG under tests/golden/, allowing a
// few pixels of difference. With RADADED_UPDATE_GOLDEN=1 it rewrites the PNG
// instead, after an intended change of the drawing.
#include <SDL.h>

#include <string>

#include "platform/sdl/sdl_ptrs.h"
#include "toolkit/form.h"

namespace testing_support {

void ExpectLooksLike(SDL_Surface* actual, const std::string& name);

// The form painted as the SDL back end paints it at a scale, into a surface
// of the form's client size (or of width x height design pixels when given).
sdl::SurfacePtr Paint(const tk::Form& form, int width = 0, int height = 0, int scale = 1);

}  // namespace testing_support
