#pragma once
// The command line: radaded2k [OPTION]... [STORY_FOLDER], parsed by
// getopt_long as GNU programs do.
#include <cstdio>
#include <optional>
#include <string>

namespace app {

struct Options {
  std::string folder;  // empty: the current directory
  bool check = false;
  std::string trace;  // --trace, else RADADED_TRACE, made absolute from the start directory; empty: none
  int scale = 0;      // 1 to 4; 0: RADADED_SCALE, if set, else the display's
  long from = 0;      // the script line to start at, from 1; 0: the intro, then the top
  bool watch = false; // build the page again when the story's files change
  bool full_screen = false;
  int auto_turn_ms = -1;  // -1: the reader turns the pages; 0: by each page's reading time
  bool speak = false;     // read the pages aloud
  bool resume = false;    // start where the reader stopped the last time
  bool text_hook = false; // write each page to standard output
  int music_volume = 100;    // percent
  int effects_volume = 100;  // percent
};

// Parses the arguments into `options`. Returns an exit status when the
// program should end at once: 0 after --help or --version (printed on
// `out`), 2 after a wrong argument (one line saying what, and a hint to
// --help, on `err`). Returns nothing when the program should go on.
std::optional<int> ParseCommandLine(int argc, char** argv, Options& options, std::FILE* out, std::FILE* err);

}  // namespace app
