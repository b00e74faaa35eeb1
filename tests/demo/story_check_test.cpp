// The story checker beside the player, over the same scripts: the checker
// finds each problem at its line and column, and where the player stops with
// an error, the checker has found one. (Scripts damaged any how: the
// script player's fuzz target; damaged pictures, tunes and effects: the
// regression files, the sound layer's checks and the fuzzers.)
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/script_player.h"
#include "demo/story_check.h"
#include "support/story_fixture.h"
#include "support/test_name.h"

namespace {

namespace fs = std::filesystem;
const fs::path kStory = RADADED_SOURCE_DIR "/story";

class StoryCheck : public testing_support::StoryFixture {
 protected:
  void SetUp() override {
    StoryFixture::SetUp();
    for (const auto& e : fs::directory_iterator(kStory))
      if (e.path().filename() != "Rodevez2E.dat") fs::copy_file(e.path(), dir / e.path().filename());
  }
  // "LINE:COLUMN kind" of each finding, after the file's name for all but the script.
  static std::vector<std::string> Findings() {
    // A page label that holds any page but one that says it does not fit.
    const auto fits = [](const tk::Label& label) { return label.properties().caption.find("(too long)") == std::string::npos; };
    std::vector<std::string> out;
    for (const auto& f : script::CheckStory(fits).findings)
      out.push_back((f.file == "Rodevez2E.dat" ? "" : f.file + ":") + std::to_string(f.line) + ":" +
                    std::to_string(f.column) + " " + (f.error ? "error" : "warning"));
    return out;
  }
};

struct Case {
  const char* what;
  std::string script;  // UTF-8, stored in code page 932; "(none)": no script at all
  std::vector<std::string> findings;
  int error = 0;  // the player's run-time error; 0: it plays to the end
  std::string where = "";
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class StoryCheckCases : public StoryCheck, public ::testing::WithParamInterface<Case> {};

TEST_P(StoryCheckCases, FindsTheProblemWhereThePlayerStops) {
  const Case& c = GetParam();
  if (c.script != "(none)") WriteScript(c.script);
  EXPECT_EQ(Findings(), c.findings);
  const bool played = Run(Module1::PlayScript);
  EXPECT_EQ(played ? 0 : error->number(), c.error);
  EXPECT_EQ(played ? "" : error->where(), c.where);
  EXPECT_TRUE(Forms::Form1().Visible()) << "the main window is shown first";
}

const std::string k400(400, 'z');

INSTANTIATE_TEST_SUITE_P(
    Cases, StoryCheckCases,
    ::testing::Values(
        Case{"a good script, speaker 8 the last", "#PICT    \"office.bmp\"\r\n#ICON 8\r\nhello\r\n#ENDI", {}},
        Case{"letter case and \\ folders resolve as the player's", "#PICT    \"OFFICE.BMP\"\r\ny\r\n#ENDI", {}},
        Case{"a line of exactly a page", k400 + "\r\n#ENDI", {}},
        Case{"no script", "(none)", {"0:0 error"}, 53, "Rodevez2E.dat"},
        Case{"an empty script", "", {"1:0 error"}, 62, "Rodevez2E.dat, line 1"},
        Case{"a last text line read past the end", "a\r\nb", {"3:0 error"}, 62, "Rodevez2E.dat, line 3"},
        Case{"a command with nothing after it", "a\r\n#PAGE\r\n\r\n", {"4:0 error"}, 62, "Rodevez2E.dat, line 4"},
        Case{"speaker 9", "x\r\n#ICON 9\r\ny\r\n#ENDI", {"2:7 error"}, 9, "Rodevez2E.dat, line 2"},
        Case{"&HFFFF is speaker -1", "#ICON &HFFFF\r\ny\r\n#ENDI", {"1:7 error"}, 9, "Rodevez2E.dat, line 1"},
        Case{"a speaker beyond 16 bits", "#ICON 40000\r\ny\r\n#ENDI", {"1:7 error"}, 6, "Rodevez2E.dat, line 1"},
        Case{"a missing picture", "#PICT    \"Sub\\none.bmp\"\r\ny\r\n#ENDI", {"1:11 error"}, 53,
             "Sub\\none.bmp (Rodevez2E.dat, line 1)"},
        Case{"a folder named as a picture", "#PICT    \".\"\r\ny\r\n#ENDI", {"1:11 error"}, 75,
             ". (Rodevez2E.dat, line 1)"},
        Case{"a tune named as a picture", "#PICT    \"Zirev.mid\"\r\ny\r\n#ENDI", {"1:11 error"}, 481,
             "Zirev.mid (Rodevez2E.dat, line 1)"},
        Case{"an unknown command with lines after it", "#FOO\r\ny\r\n#ENDI", {"1:1 error"}, 5,
             "unknown command \"#FOO\" (Rodevez2E.dat, line 1)"},
        Case{"a line of 40000 characters", std::string(40000, 'w') + "\r\n#ENDI", {"1:0 error"}, 6,
             "Rodevez2E.dat, line 1"},
        Case{"LF line ends", "a\n#PICT    \"office.bmp\"\n#ENDI\n", {"1:1 error"}, 62, "Rodevez2E.dat, line 2"},
        Case{"a missing tune", "#MIDI \"gone.mid\"\r\ny\r\n#ENDI", {"1:8 warning"}},
        Case{"a line longer than a page", "a\r\n" + k400 + "z\r\n#ENDI", {"2:0 warning"}},
        Case{"a page that does not fit the label", "a\r\n(too long)\r\n#PAGE\r\nb\r\n#ENDI", {"1:0 warning"}},
        Case{"lines after #ENDI", "a\r\n#ENDI\r\nnotes", {"3:0 warning"}},
        Case{"no #ENDI", "a\r\n#PAGE\r\nb\r\n#END", {"4:0 warning"}},
        Case{"an #ENDI last, read after a command", "a\r\n#PAGE\r\n#ENDI\r\n", {}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

// The scripts that once broke the program (tests/regressions/script): each
// an error at its first line.
TEST_F(StoryCheck, TheScriptRegressionsAreErrorsAtTheirFirstLine) {
  for (const auto& e : fs::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/script")) {
    fs::copy_file(e.path(), dir / "Rodevez2E.dat", fs::copy_options::overwrite_existing);
    const auto found = Findings();
    EXPECT_TRUE(!found.empty() && found[0].starts_with("1:") && found[0].ends_with(" error")) << e.path().filename();
  }
}

// Files as a Linux editor or an old archive leaves them: each finding at its
// place, saying what mends it.
TEST_F(StoryCheck, SaysWhatMendsAScriptInUtf8AndAPictureTooLarge) {
  fs::copy_file(RADADED_SOURCE_DIR "/tests/regressions/picture/refused-png-4096x1025.png", dir / "big.png");
  const struct {
    const char* what;
    std::string bytes;
    std::string finding;  // "LINE:COLUMN" and a part of the text; "" for none
  } cases[] = {
      {"UTF-8", "#ICON 1\r\nab \xE3\x81\x82\r\n#ENDI", "2:4 iconv -f UTF-8 -t CP932"},
      {"UTF-8 with LF line ends", "#ICON 1\nab\n\xE3\x81\x82\n#ENDI", "3:1 iconv -f UTF-8 -t CP932"},
      {"a byte-order mark", "\xEF\xBB\xBF#ICON 1\r\nab\r\n#ENDI", "1:1 byte-order mark"},
      {"code page 932 is no UTF-8", "\x83\x6c\x83\x74\x83\x42\r\n#ENDI", ""},
      {"a picture over 4 million pixels", "#PICT    \"big.png\"\r\ny\r\n#ENDI", "1:11 4194304 (4 million) in all"},
  };
  for (const auto& c : cases) {
    WriteFile("Rodevez2E.dat", c.bytes);
    const auto findings = script::CheckStory([](const tk::Label&) { return true; }).findings;
    std::string got;
    for (const auto& f : findings)
      if (f.error) got += std::to_string(f.line) + ":" + std::to_string(f.column) + " " + f.text + "\n";
    if (c.finding.empty()) {
      EXPECT_EQ(got, "") << c.what;
      continue;
    }
    const std::string place = c.finding.substr(0, c.finding.find(' ')), text = c.finding.substr(place.size() + 1);
    const auto at = ("\n" + got).find("\n" + place + " ");
    EXPECT_TRUE(at != std::string::npos && got.substr(at, got.find('\n', at) - at).find(text) != std::string::npos)
        << c.what << ": " << got;
  }
}

}  // namespace
