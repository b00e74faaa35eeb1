#pragma once
// Notices for the user on standard error: one line each, after the program's
// name, as command-line programs write them ("radaded2k: no audio device ...").
#include <cstdarg>
#include <cstdio>
#include <string>

namespace rt {

// The program's name as it is typed.
inline constexpr char kProgramName[] = "radaded2k";

// Writes "radaded2k: " and the printf-formatted text as one line, in one
// write, so that notices from several threads never mix.
[[gnu::format(printf, 1, 2)]] inline void Notice(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string line = std::string(kProgramName) + ": ";
  const std::size_t start = line.size();
  line.resize(start + static_cast<std::size_t>(size > 0 ? size : 0) + 1);
  std::vsnprintf(line.data() + start, line.size() - start, format, again);
  va_end(again);
  line.back() = '\n';
  std::fputs(line.c_str(), stderr);
}

}  // namespace rt
