// The script player over whole scripts: pages, waits and commands, and the
// lines that used to make it loop for ever (the errors that end the story:
// story_check_test.cpp, beside the checker's findings).
#include <gtest/gtest.h>

#include <ostream>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/script_player.h"
#include "demo/vn_midi.h"
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

using ScriptPictures = testing_support::StoryFixture;

TEST_F(ScriptPictures, APictureResizesThePaneAndStaysUntilTheNext) {
  // A 4 x 3 BMP, 24 bits.
  std::string bmp("BM\x42\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x04\0\0\0\x03\0\0\0\x01\0\x18\0\0\0\0\0\x0c\0\0\0", 38);
  bmp += std::string(16, '\0') + std::string(36, '\x7f');
  WriteFile("Scene.BMP", bmp);
  WriteScript("#PICT    \"scene.bmp\"\r\na\r\n#PAGE\r\nb\r\n#ENDI\r\n");
  ASSERT_TRUE(Run(Module1::PlayScript)) << error->where();
  const auto& pane = Forms::Form1().Image1;
  EXPECT_EQ(pane.box(), (tk::Box{120, 960, (4 + 4) * 15, (3 + 4) * 15})) << "the picture plus the border";
  EXPECT_EQ(Log(), (Events{"page ", "pict scene.bmp", "page a\r\n", "turn", "page b\r\n", "turn"}));
}

}  // namespace
