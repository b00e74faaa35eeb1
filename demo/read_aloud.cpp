#include "demo/read_aloud.h"

#include <string>

#include "demo/services.h"
#include "speech/speech.h"

namespace ReadAloud {
namespace {

std::string Spoken(std::string_view heading, std::string_view text) {
  std::string out(heading);
  if (!out.empty()) out += "。\n";
  for (char c : text)
    if (c != '\r') out += c;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

void Page(std::string_view heading, std::string_view text) {
  speech::Speech* speech = Module1::Wired().speech;
  if (!speech) return;
  speech->Cancel();
  speech->Say(Spoken(heading, text));
}

void Stop() {
  if (speech::Speech* speech = Module1::Wired().speech) speech->Cancel();
}

}  // namespace ReadAloud
