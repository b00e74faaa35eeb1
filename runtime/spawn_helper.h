#pragma once
// Starts one of the program's helpers (the picture decoder, the speech
// client) with nothing of the program's but what it is given: `in` as its
// standard input, `out` as its standard output (-1: nowhere), the program's
// standard error or none, no signal blocked or ignored, and the program's
// environment or none.
#include <sys/types.h>

#include <string>

namespace rt {

struct HelperStart {
  int in = -1;
  int out = -1;
  bool errors_shown = false;  // its standard error is the program's
  bool environment = false;   // it gets the program's environment
};

// 0 and `pid` set, or posix_spawn's error number.
int SpawnHelper(const std::string& path, const HelperStart& start, pid_t& pid);

}  // namespace rt
