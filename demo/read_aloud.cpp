#include "demo/read_aloud.h"

#include <string>

namespace ReadAloud {
namespace {

sound::Speech* g_speech = nullptr;

std::string Spoken(std::string_view heading, std::string_view text) {
  std::string out(heading);
  if (!out.empty()) out += "。\n";
  for (char c : text)
    if (c != '\r') out += c;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

void UseSpeech(sound::Speech& speech) { g_speech = &speech; }
void UseNoSpeech() { g_speech = nullptr; }

void Page(std::string_view heading, std::string_view text) {
  if (!g_speech) return;
  g_speech->Cancel();
  g_speech->Say(Spoken(heading, text));
}

void Stop() {
  if (g_speech) g_speech->Cancel();
}

}  // namespace ReadAloud
