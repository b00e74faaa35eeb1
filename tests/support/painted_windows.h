#pragma once
// Has a FakePlatform's windows painted as the program's windows are, by the
// SDL back end's renderer into a surface of the window's size, so that every
// paint of a story played on it goes through the real drawing code.
#include "support/fake_platform.h"

namespace testing_support {

void PaintWithRenderer(FakePlatform& platform);

}  // namespace testing_support
