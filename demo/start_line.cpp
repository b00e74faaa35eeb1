#include "demo/start_line.h"

#include <string>

#include "demo/script_line.h"
#include "demo/story_files.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"

namespace script {

std::optional<Finding> CheckStartLine(long line) {
  long end = 0;  // the line of the first #ENDI
  long lines = 0;
  try {
    rt::TextInput in(kScriptFile);
    while (!in.Eof()) {
      const bool is_end = ParseLine(in.LineInput()).kind == Command::Kind::kEnd;
      if (is_end && !end) end = in.line_number();
    }
    lines = in.line_number();
  } catch (const rt::RuntimeError&) {
    return std::nullopt;
  }
  const std::string n = std::to_string(line);
  if (line > lines)
    return Finding{kScriptFile, line, 0, true,
                   "line " + n + " is past the end of the script, which has " + std::to_string(lines) + " lines"};
  if (end && line > end)
    return Finding{kScriptFile, line, 0, true,
                   "line " + n + " comes after #ENDI (line " + std::to_string(end) + "), where the story ends"};
  return std::nullopt;
}

}  // namespace script
