#pragma once
// Compares a drawn surface with a golden PNG under tests/golden/, allowing a
// few pixels of difference. With RADADED_UPDATE_GOLDEN=1 it rewrites the PNG
// instead, after an intended change of the drawing.
#include <SDL.h>

#include <string>

namespace testing_support {

void ExpectLooksLike(SDL_Surface* actual, const std::string& name);

}  // namespace testing_support
