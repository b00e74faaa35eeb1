#pragma once
// The waiting-for-reader flag: set by the script player before it waits on a
// page, cleared by the main window's key-release and page-turn-click
// handlers and by its page timer.
#include "runtime/integer.h"

namespace Module1 {
extern rt::Boolean WaitingForReader;
}
