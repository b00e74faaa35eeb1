#pragma once
// The windows' artwork, built into the program and decoded once.
#include "picture/picture.h"

namespace artwork {

// Speaker portrait k, 1 to 8 (portrait 1 is also the main window's icon).
pic::Picture Portrait(int k);
// The page-turn icon.
pic::Picture PageTurn();
// The intro's winged character: flying level, upright, wings raised.
pic::Picture Flying();
pic::Picture Landing();
pic::Picture WingsUp();
// The intro window's icon.
pic::Picture IntroIcon();

}  // namespace artwork
