#pragma once
// --check: the story checker, with pages laid out as the SDL back end draws
// them, and its findings printed as compilers print theirs
// ("FILE:LINE:COLUMN: error: ..."), then a summary.
#include <cstdio>
#include <memory>

#include "demo/story_check.h"
#include "demo/story_watcher.h"

namespace app {

// Checks the story in the current directory.
script::CheckResult CheckStory();

// Prints the findings and the summary line; returns the exit status: 1 when
// there is an error, else 0.
int PrintCheck(const script::CheckResult& result, std::FILE* out);
// One finding, in the same form.
void PrintFinding(const script::Finding& finding, std::FILE* out);

// --watch: the story's files watched through inotify, and a story that now
// has an error reported as --check prints it, on standard error. Nothing
// (after saying why) when the kernel will not watch.
std::unique_ptr<script::StoryWatcher> WatchStory();

}  // namespace app
