#pragma once
// The waiting-for-reader flag: set by the script player before it waits on a
// page, cleared by the main window's key-release and page-turn-click
// handlers and by its page timer. When the reader asks for the page before
// (PageUp, the wheel turned up, a controller's left shoulder), the main
// window sets ReaderGoesBack as it clears the flag; the player clears it
// before each wait.
#include "runtime/integer.h"

namespace Module1 {
extern rt::Boolean WaitingForReader;
extern bool ReaderGoesBack;
}
