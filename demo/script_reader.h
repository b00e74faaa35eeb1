#pragma once
// Goes through a script as the player does, shared by the player and the
// story checker so that both read it by the same rules: pages of text lines
// under the budget of 400 (each line costing its length plus 20), each page
// ended by a command line or by the budget, and after the line that ended a
// page, the way on to the next.
#include <string>

#include "demo/script_line.h"
#include "runtime/integer.h"
#include "runtime/text_input.h"

namespace script {

inline constexpr rt::Integer kPageBudget = 400;
inline constexpr rt::Integer kLineCost = 20;

class ScriptReader {
 public:
  // Reads the script's first line (error 62 when it has none).
  explicit ScriptReader(rt::TextInput& file);

  // Gathers the page that starts at the current line: its text, every line
  // followed by CR LF. Then the current line is the one that ended it: a
  // command, or the text line that begins the next page. A text line longer
  // than a page makes a page of its own; when it is the last line of the
  // file, nothing follows the page (ended() turns true).
  std::u32string GatherPage();
  // After the line that ended a page has been carried out: on to the next
  // page. A command is followed by the next non-empty line; a text line (a
  // page ended by the budget) begins the next page itself. False when the
  // story ends here: at #ENDI, whatever follows it, or at the end of the
  // file. An unknown command word with lines after it raises error 5, as
  // nothing would ever move past it.
  bool Advance(const Command& command);

  const std::u32string& current() const { return line_; }
  // The number of the current line, from 1.
  long line_number() const { return file_.line_number(); }
  // Whether the page gathered last is one text line longer than a page.
  bool long_line() const { return long_line_; }
  bool ended() const { return ended_; }
  bool AtEnd() { return file_.Eof(); }
  // Once Advance has said the story ends after `command`, read at line `at`:
  // the line it read on and the story never shows (the file's last, a text
  // line after a command), or 0.
  long NeverShown(const Command& command, long at) const {
    return command.kind != Command::Kind::kEnd && line_number() > at && !IsCommand(line_) ? line_number() : 0;
  }

 private:
  rt::TextInput& file_;
  std::u32string line_;
  bool long_line_ = false;
  bool ended_ = false;
};

}  // namespace script
