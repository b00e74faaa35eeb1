#include "demo/auto_turn.h"

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/waiting_for_reader.h"
#include "runtime/trace.h"
#include "runtime/utf.h"

namespace AutoTurn {
namespace {

bool g_on = false;
int g_fixed_ms = 0;

constexpr int kLookMs = 2000;
constexpr int kPerCharacterMs = 125;
constexpr int kLongestMs = 1 << 30;

}  // namespace

void TurnOn(int fixed_ms) {
  g_on = true;
  g_fixed_ms = fixed_ms;
}

void TurnOff() { g_on = false; }

int ReadingTimeMs(std::string_view page) {
  long long ms = kLookMs;
  for (char32_t c : tk::ToUtf32(page))
    if (c != U'\r' && c != U'\n' && c != U' ' && c != U'\u3000') ms += kPerCharacterMs;
  return ms < kLongestMs ? static_cast<int>(ms) : kLongestMs;
}

void PageShown(std::string_view page) {
  if (!g_on) return;
  tk::Timer& timer = Forms::Form1().Timer2;
  timer.SetInterval(g_fixed_ms > 0 ? g_fixed_ms : ReadingTimeMs(page));
  timer.SetEnabled(true);
}

void PageTurned() {
  if (g_on) Forms::Form1().Timer2.SetEnabled(false);
}

void Due() {
  Forms::Form1().Timer2.SetEnabled(false);
  tk::trace::Input("auto");
  Module1::WaitingForReader = tk::False;
}

}  // namespace AutoTurn
