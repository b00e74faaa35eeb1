#pragma once
// The windows' artwork, built into the program and decoded once.
#include "picture/picture.h"

namespace artwork {

// Speaker portrait k, 1 to 8 (portrait 1 is also the main window's icon).
tk::Picture Portrait(int k);
// The page-turn icon.
tk::Picture PageTurn();
// The intro's winged character: flying level, upright, wings raised.
tk::Picture Flying();
tk::Picture Landing();
tk::Picture WingsUp();
// The intro window's icon.
tk::Picture IntroIcon();

}  // namespace artwork
