#pragma once
// The text hook (--text-hook): each page as it is shown, and the staff
// screen, handed as UTF-8 text to the wired sink (services.h) for the
// reader's tools: the speaker's name on a line of its own, then the page's
// lines, then an empty line. Nothing without a sink.
#include <string>
#include <string_view>

namespace TextHook {

// Where the text goes; never blocks, never fails its caller.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Write(std::string text) noexcept = 0;
};

void Page(std::string_view heading, std::string_view text);
// The record Page writes: LF line ends, the last line ended.
std::string Record(std::string_view heading, std::string_view text);

}  // namespace TextHook
