#pragma once
// The windows' artwork, built into the program and decoded once.
#include "picture.h"

namespace tk {
class Form;
}

namespace artwork {

// Speaker portrait k, 1 to 8 (portrait 1 is also the main window's icon).
tk::Picture Portrait(int k);
// The page-turn icon.
tk::Picture PageTurn();

}  // namespace artwork
