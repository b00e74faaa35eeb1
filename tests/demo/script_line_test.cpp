// Command words in any letter case, and the numeric value of a speaker
// number, as the original platform reads text.
#include <gtest/gtest.h>

#include "demo/script_line.h"
#include "runtime/runtime_error.h"

namespace {

TEST(ScriptLine, CommandWordsAreReadInCapitals) {
  using Kind = script::Command::Kind;
  const std::tuple<const char32_t*, Kind, const char*> cases[] = {
      {U"#page", Kind::kPage, "#PAGE"},     {U"#eNdI", Kind::kEnd, "#ENDI"},
      {U"#pagz", Kind::kUnknown, "#PAGZ"},  {U"#ａbcd", Kind::kUnknown, "#ａBCD"},
      {U"page", Kind::kText, ""},
  };
  for (auto [line, kind, word] : cases) {
    const auto command = script::ParseLine(line);
    EXPECT_EQ(command.kind, kind) << word;
    EXPECT_EQ(command.word, word);
  }
}

TEST(ScriptLine, ValReadsLikeTheOriginal) {
  const std::pair<const char32_t*, double> cases[] = {
      {U"3", 3},        {U" 3", 3},      {U"\t3 ", 3},    {U"1 2", 12},    {U"2.5", 2.5},  {U"-4", -4},
      {U"3abc", 3},     {U"abc", 0},     {U"", 0},        {U"1e2", 100},   {U"1D1", 10},   {U"&H10", 16},
      {U"&o17", 15},    {U"&HFFFF", -1}, {U"&H7FFF", 32767}, {U"&H10000", 65536}, {U"&HFFFFFFFF", -1},
      {U"&O177777", -1}, {U"&h8000", -32768},    {U"1.5.5", 1.5}, {U"３", 0},      {U"+7", 7},      {U"1e", 1},
  };
  for (auto [text, value] : cases) EXPECT_EQ(script::Val(text), value) << (text[0] ? char(text[0]) : '_');
  // A number too large for any value is an overflow in every base.
  for (const std::u32string& text : {std::u32string(U"1e999"), U"&H" + std::u32string(257, U'F'), U"&O" + std::u32string(400, U'7')}) {
    try {
      script::Val(text);
      ADD_FAILURE() << text.size();
    } catch (const tk::RuntimeError& e) {
      EXPECT_EQ(e.number(), tk::kOverflow);
    }
  }
}

}  // namespace
