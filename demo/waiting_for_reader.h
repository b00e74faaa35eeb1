#pragma once
// The waiting-for-reader flag: set by the script player before it waits on a
// page, cleared by the main window's key-release and page-turn-click handlers.
#include <functional>
#include <string_view>

#include "runtime/integer.h"

namespace Module1 {
extern tk::Boolean WaitingForReader;

// The script player's wait on a page it has shown under a speaker's name:
// while the flag is set, yields to the window system. Meanwhile the page is
// read aloud and turns by itself, when those are on. `stop`, asked after each
// yield, ends the wait early with the flag still set (the page is to be built
// again); returns whether it did.
bool WaitForReader(std::string_view speaker, std::string_view page, const std::function<bool()>& stop = {});
}  // namespace Module1
