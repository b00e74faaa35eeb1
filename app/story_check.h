#pragma once
// The story checker: reads the story in the current directory by the
// player's own rules and lists every problem at once, one a line, as
// compilers do ("FILE:LINE:COLUMN: error: ..."), then a summary. Needs no
// display and no audio device.
#include <cstdio>
#include <string>
#include <vector>

namespace app {

struct Finding {
  std::string file;
  long line = 0;    // 0: the file as a whole
  long column = 0;  // 0: the line as a whole
  bool error = false;
  std::string text;
};

struct CheckResult {
  std::vector<Finding> findings;  // in the order of the file
  long pages = 0;                 // pages with text that the reader turns
  bool HasError() const;
};

CheckResult CheckStory();

// Prints the findings and the summary line; returns the exit status: 1 when
// there is an error, else 0.
int PrintCheck(const CheckResult& result, std::FILE* out);

}  // namespace app
