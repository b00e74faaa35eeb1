#include "demo/auto_turn.h"

namespace AutoTurn {
namespace {

constexpr int kLookMs = 2000;
constexpr int kPerCharacterMs = 125;
constexpr int kLongestMs = 1 << 30;

}  // namespace

int ReadingTimeMs(std::u32string_view page) {
  long long ms = kLookMs;
  for (char32_t c : page)
    if (c != U'\r' && c != U'\n' && c != U' ' && c != U'\u3000') ms += kPerCharacterMs;
  return ms < kLongestMs ? static_cast<int>(ms) : kLongestMs;
}

}  // namespace AutoTurn
