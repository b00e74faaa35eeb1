#pragma once
// Where the program's helpers are (the picture decoder, the speech client):
// beside the program, as in a build folder, else in ../libexec/radaded2k/,
// as installed.
#include <string>

namespace rt {

// The helper's path; beside the program when it is in neither place (its
// start then fails, naming that path).
std::string HelperPath(const char* name);

}  // namespace rt
