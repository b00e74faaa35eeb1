#pragma once
// The story checker: reads the story in the current directory by the
// player's own rules and lists every problem at once, each at its file, line
// and column, in the order of the file. Needs no display and no audio device.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls.h"

namespace script {

struct Finding {
  std::string file;
  long line = 0;    // 0: the file as a whole
  long column = 0;  // 0: the line as a whole
  bool error = false;
  std::string text;
};

struct CheckResult {
  std::vector<Finding> findings;  // the script's first, in the order of the file
  long pages = 0;                 // pages with text that the reader turns
  std::vector<std::string> files; // the tunes and pictures the script names, as it names them
  std::string script;             // the script's bytes, as they were checked
  bool HasError() const;
};

// Whether a label's caption fits it, as the window would draw it.
using CaptionFits = std::function<bool(const tk::Label& label)>;

CheckResult CheckStory(const CaptionFits& fits);

}  // namespace script
