// The script player over whole scripts: pages, waits and commands, and the
// lines that used to make it loop for ever (the errors that end the story:
// story_check_test.cpp, beside the checker's findings); and its lines read as
// the original platform reads text: command words in any letter case, and
// the numeric value of a speaker number.
#include <gtest/gtest.h>

#include <ostream>

#include "demo/script_line.h"
#include "demo/script_player.h"
#include "demo/vn_midi.h"
#include "runtime/runtime_error.h"
#include "support/story_fixture.h"
#include "support/test_name.h"

namespace {

using Events = std::vector<std::string>;

std::string Rows(int n, const std::string& row = "") {
  std::string s;
  for (int i = 0; i < n; ++i) s += row + "\r\n";
  return s;
}

struct PlayCase {
  const char* what;
  std::string script;
  Events log;
  std::string current_tune = "";
};

// Cases print as their description in the test log.
void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.what; }

class ScriptPlayer : public testing_support::StoryFixture, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(ScriptPlayer, ShowsPagesAndCarriesOutCommandsInOrder) {
  const PlayCase& c = GetParam();
  WriteScript(c.script);
  ASSERT_TRUE(Run(Module1::PlayScript)) << error->where();
  EXPECT_EQ(Log(), c.log) << c.what;
  EXPECT_EQ(VN_Midi::CurrentTune, c.current_tune) << c.what;
}

const std::string k40(40, 'x'), k380(380, 'y'), k450(450, 'z');

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptPlayer,
    ::testing::Values(
        PlayCase{"a first line that is a command makes an empty page with no wait",
                 "#ICON 1\r\nhello\r\n#ENDI\r\n",
                 {"page ", "icon Image4(1)", "name ネフィ", "page hello\r\n", "turn"}},
        PlayCase{"two commands in a row have an empty page between them",
                 "a\r\n#MIDI \"x.mid\"\r\n#PAGE\r\nb\r\n#ENDI",
                 {"page a\r\n", "turn", "stop", "page ", "page b\r\n", "turn"},
                 "x.mid"},
        PlayCase{"lines of 40 characters give 7 to a page; the rest follows with no command between",
                 Rows(8, k40) + "#ENDI\r\n",
                 {"page " + Rows(7, k40), "turn", "page " + Rows(1, k40), "turn"}},
        PlayCase{"22 empty lines make pages of 21 and 1 blank rows",
                 Rows(22) + "#ENDI",
                 {"page " + Rows(21), "turn", "page " + Rows(1), "turn"}},
        PlayCase{"after 380 characters an empty line still fits, one character does not",
                 k380 + "\r\n\r\nq\r\n#ENDI\r\n",
                 {"page " + k380 + "\r\n\r\n", "turn", "page q\r\n", "turn"}},
        PlayCase{"blank rows before a command belong to the page; those after it are dropped",
                 "a\r\n\r\n\r\n#PAGE\r\n\r\n\r\nb\r\n#ENDI\r\n",
                 {"page a\r\n\r\n\r\n", "turn", "page b\r\n", "turn"}},
        PlayCase{"command words in any case; speaker numbers rounded half to even; column 6 is skipped",
                 "#icon 3\r\n#Icon 2.5\r\n#ICON 3.5\r\n#ICON\r\n#icon3\r\n#ENDI\r\n",
                 {"page ", "icon Image4(3)", "name ダリモ社長", "page ", "icon Image4(2)", "name ソモ", "page ",
                  "icon Image4(4)", "name セリナ", "page ", "icon Image4(0)", "name ", "page ", "icon Image4(0)",
                  "name "}},
        PlayCase{"a #MIDI line of 8 characters names no tune; the tune waits for the loop check",
                 "#MIDI \"x\r\n#ENDI\r\n", {"page ", "stop"}, ""},
        PlayCase{"an empty picture name clears the scene",
                 "#PICT    \"\"\r\nx\r\n#ENDI\r\n", {"page ", "pict ", "page x\r\n", "turn"}},
        PlayCase{"a #PAGE line goes on with further letters", "a\r\n#PAGEBREAK\r\nb\r\n#ENDI\r\n",
                 {"page a\r\n", "turn", "page b\r\n", "turn"}},
        PlayCase{"an unknown command as the last line ends like #ENDI", "a\r\n#END\r\n", {"page a\r\n", "turn"}},
        PlayCase{"#ENDI ends the script even when lines follow it", "a\r\n#ENDI\r\n\r\nnotes\r\n",
                 {"page a\r\n", "turn"}},
        PlayCase{"a line longer than a page makes a page of its own", "a\r\n" + k450 + "\r\nb\r\n#ENDI\r\n",
                 {"page a\r\n", "turn", "page " + k450 + "\r\n", "turn", "page b\r\n", "turn"}},
        PlayCase{"a script of one line longer than a page shows it and ends", k450,
                 {"page " + k450 + "\r\n", "turn"}},
        PlayCase{"a line of 32767 characters is shown, not an overflow", std::string(32767, 'o') + "\r\n#ENDI",
                 {"page " + std::string(32767, 'o') + "\r\n", "turn"}},
        PlayCase{"380 characters and then one: the budget of 400 is exact", k380 + "\r\nq\r\n#ENDI\r\n",
                 {"page " + k380 + "\r\n", "turn", "page q\r\n", "turn"}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

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
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), rt::kOverflow);
    }
  }
}

}  // namespace
