#include "demo/script_reader.h"

#include "runtime/runtime_error.h"

namespace script {
namespace {

// A line's length as a 16-bit integer: a longer line is an overflow.
rt::Integer Length(const std::u32string& line) {
  if (line.size() > 32767) rt::Raise(rt::kOverflow);
  return static_cast<rt::Integer>(line.size());
}

}  // namespace

ScriptReader::ScriptReader(rt::TextInput& file) : file_(file), line_(file.LineInput()) {}

std::u32string ScriptReader::GatherPage() {
  std::u32string page;
  rt::Integer budget = 0;
  long_line_ = false;
  for (;;) {
    const rt::Integer n = Length(line_);
    const bool command = IsCommand(line_);
    const bool over = rt::AddInteger(budget, n) > kPageBudget;
    // A text line longer than a whole page would come back here for ever,
    // making empty pages: it is shown as a page of its own instead.
    long_line_ = over && !command && page.empty();
    if ((command || over) && !long_line_) return page;
    page += line_;
    page += U"\r\n";
    if (long_line_) {
      // Its page ends here whatever its length; as the file's last line it
      // ends the story once read, rather than reading past the end.
      if (file_.Eof()) ended_ = true;
      else line_ = file_.LineInput();
      return page;
    }
    budget = rt::AddInteger(budget, n);
    line_ = file_.LineInput();
    budget = rt::AddInteger(budget, kLineCost);
  }
}

bool ScriptReader::Advance(const Command& command) {
  using Kind = Command::Kind;
  switch (command.kind) {
    case Kind::kEnd: return false;
    case Kind::kText: break;
    case Kind::kUnknown:
      if (!file_.Eof()) rt::Raise(rt::kInvalidProcedureCall, "unknown command \"" + command.word + "\"");
      break;
    default:
      line_ = file_.LineInput();
      while (line_.empty()) line_ = file_.LineInput();
  }
  return !file_.Eof();
}

}  // namespace script
