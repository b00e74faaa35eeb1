#include "demo/text_hook.h"

#include "demo/services.h"

namespace TextHook {

std::string Record(std::string_view heading, std::string_view text) {
  std::string out(heading);
  out += '\n';
  for (char c : text)
    if (c != '\r') out += c;
  if (out.back() != '\n') out += '\n';
  out += '\n';
  return out;
}

void Page(std::string_view heading, std::string_view text) {
  if (Sink* sink = Module1::Wired().text_hook) sink->Write(Record(heading, text));
}

}  // namespace TextHook
