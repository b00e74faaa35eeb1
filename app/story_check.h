#pragma once
// --check: the story checker, with pages laid out as the SDL back end draws
// them, and its findings printed as compilers print theirs
// ("FILE:LINE:COLUMN: error: ..."), then a summary.
#include <cstdio>

#include "demo/story_check.h"

namespace app {

// Checks the story in the current directory.
script::CheckResult CheckStory();

// Prints the findings and the summary line; returns the exit status: 1 when
// there is an error, else 0.
int PrintCheck(const script::CheckResult& result, std::FILE* out);

}  // namespace app
