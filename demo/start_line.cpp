#include "demo/start_line.h"

#include <string>
#include <vector>

#include "demo/script_line.h"
#include "demo/script_reader.h"
#include "demo/story_files.h"
#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"

namespace script {
namespace {

// The file's last line when the story never shows it: a text line read after
// a command, at the end of a script with no #ENDI, where the story ends
// without another page. 0 when there is none (or the script cannot be read:
// the player says so).
long NeverShownLastLine(const std::string& script) {
  try {
    auto in = rt::TextInput::FromBytes(script, kScriptFile);
    ScriptReader reader(in);
    for (;;) {
      reader.GatherPage();
      if (reader.ended()) return 0;
      const long at = reader.line_number();
      const Command command = ParseLine(reader.current());
      if (!reader.Advance(command)) return reader.NeverShown(command, at);
    }
  } catch (const rt::RuntimeError&) {
    return 0;
  }
}

}  // namespace

std::optional<Finding> CheckStartLine(long line) {
  const auto path = rt::ResolveName(kScriptFile);
  std::vector<unsigned char> bytes;
  if (!path || rt::ReadRegularFile(*path, rt::TextInput::kMaxFileBytes, bytes) != 0) return std::nullopt;
  return CheckStartLine(line, std::string(bytes.begin(), bytes.end()));
}

std::optional<Finding> CheckStartLine(long line, const std::string& script) {
  long end = 0;  // the line of the first #ENDI
  long lines = 0;
  try {
    auto in = rt::TextInput::FromBytes(script, kScriptFile);
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
  if (!end && line == NeverShownLastLine(script))
    return Finding{kScriptFile, line, 0, true,
                   "line " + n + " is never shown: the story ends when it has read it, after a command "
                   "(end the script with #ENDI)"};
  return std::nullopt;
}

}  // namespace script
