#pragma once
// Whether the story can start at a line of its script (--from, and a page
// built again after the script changed): the line must be in the file, and
// no later than the #ENDI that ends the story, and one the story shows.
#include <optional>
#include <string>

#include "demo/story_check.h"

namespace script {

// The error to report at that line of the script in the current directory,
// or nothing (also when the script cannot be read: the player says so).
std::optional<Finding> CheckStartLine(long line);
// The same for the script's bytes.
std::optional<Finding> CheckStartLine(long line, const std::string& script);

}  // namespace script
