// The story checker: one known problem a script, found at its line and
// column; and, over a few hundred damaged scripts, agreement with the player:
// where the player stops with an error, the checker has one at that line, and
// where the checker finds none, the player plays to the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>

#include "app/story_check.h"
#include "demo/script_player.h"
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
  // "LINE:COLUMN kind" of each finding in the script.
  std::vector<std::string> Findings() {
    std::vector<std::string> out;
    for (const auto& f : app::CheckStory().findings)
      out.push_back(f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + " " +
                    (f.error ? "error" : "warning"));
    return out;
  }
};

struct CheckCase {
  const char* what;
  std::string script;  // UTF-8, stored in code page 932; "(raw)" cases below write bytes
  std::vector<std::string> findings;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.what; }

class StoryCheckCases : public StoryCheck, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(StoryCheckCases, FindsTheProblemAtItsLineAndColumn) {
  const CheckCase& c = GetParam();
  WriteScript(c.script);
  EXPECT_EQ(Findings(), c.findings) << c.what;
}

const std::string kOk = "a\r\n#ENDI";
const std::string S = "Rodevez2E.dat:";

INSTANTIATE_TEST_SUITE_P(
    Cases, StoryCheckCases,
    ::testing::Values(
        CheckCase{"a good script", "#PICT    \"office.bmp\"\r\n#ICON 1\r\nhello\r\n#ENDI", {}},
        CheckCase{"an empty script", "", {S + "1:0 error"}},
        CheckCase{"a last text line read past the end", "a\r\nb", {S + "3:0 error"}},
        CheckCase{"a command with nothing after it", "a\r\n#PAGE\r\n\r\n", {S + "4:0 error"}},
        CheckCase{"speaker 9", "x\r\n#ICON 9\r\ny\r\n#ENDI", {S + "2:7 error"}},
        CheckCase{"&HFFFF is speaker -1", "#ICON &HFFFF\r\ny\r\n#ENDI", {S + "1:7 error"}},
        CheckCase{"a speaker beyond 16 bits", "#ICON 40000\r\ny\r\n#ENDI", {S + "1:7 error"}},
        CheckCase{"a missing picture, found by the player's rules", "#PICT    \"Sub\\none.bmp\"\r\ny\r\n#ENDI",
                  {S + "1:11 error"}},
        CheckCase{"letter case and \\ folders resolve as the player's", "#PICT    \"OFFICE.BMP\"\r\ny\r\n#ENDI", {}},
        CheckCase{"a text file named .bmp", "#PICT    \"Zirev.mid\"\r\ny\r\n#ENDI", {S + "1:11 error"}},
        CheckCase{"an unknown command with lines after it", "#FOO\r\ny\r\n#ENDI", {S + "1:1 error"}},
        CheckCase{"a line of 40000 characters", std::string(40000, 'w') + "\r\n#ENDI", {S + "1:0 error"}},
        CheckCase{"LF line ends", "a\n#PICT    \"office.bmp\"\n#ENDI\n", {S + "1:1 error"}},
        CheckCase{"a missing tune", "#MIDI \"gone.mid\"\r\ny\r\n#ENDI", {S + "1:8 warning"}},
        CheckCase{"a line longer than a page", std::string(450, 'z') + "\r\n#ENDI", {S + "1:0 warning"}},
        CheckCase{"lines after #ENDI", "a\r\n#ENDI\r\nnotes", {S + "3:0 warning"}},
        CheckCase{"no #ENDI", "a\r\n#PAGE\r\nb\r\n#END", {S + "4:0 warning"}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

TEST_F(StoryCheck, BadBytesAndMissingFixedFilesAreWarnings) {
  WriteFile("Rodevez2E.dat", "ab\x85" "c\r\n#ENDI");
  fs::remove(dir / "lmb.mid");
  WriteFile("vmdemo3.WAV", "RIFF");
  EXPECT_EQ(Findings(), (std::vector<std::string>{S + "1:3 warning", "lmb.mid:0:0 warning", "vmdemo3.WAV:0:0 warning"}));
}

TEST_F(StoryCheck, NoScriptIsAnError) {
  EXPECT_EQ(Findings(), (std::vector<std::string>{S + "0:0 error"}));
}

// Damages a script a line at a time: drop, double, swap, cut or change a
// line, or put a command in.
std::string Damage(const std::string& script, std::mt19937& rng) {
  std::vector<std::string> lines;
  std::stringstream in(script);
  for (std::string l; std::getline(in, l, '\n');) lines.push_back(l);
  static const char* kInserts[] = {"#ICON 9\r", "#ICON 4\r", "#PICT    \"nowhere.png\"\r", "#PICT    \"night.bmp\"\r",
                                   "#MIDI \"nowhere.mid\"\r", "#PAGE\r", "#ENDI\r", "#XYZW\r", "\r", "text\r"};
  const int changes = 1 + static_cast<int>(rng() % 3);
  for (int c = 0; c < changes && !lines.empty(); ++c) {
    const std::size_t at = rng() % lines.size();
    switch (rng() % 6) {
      case 0: lines.erase(lines.begin() + static_cast<long>(at)); break;
      case 1: lines.insert(lines.begin() + static_cast<long>(at), lines[at]); break;
      case 2: std::swap(lines[at], lines[rng() % lines.size()]); break;
      case 3: lines.resize(at + 1); break;
      case 4: lines.insert(lines.begin() + static_cast<long>(at), kInserts[rng() % std::size(kInserts)]); break;
      default:
        if (!lines[at].empty()) lines[at][rng() % lines[at].size()] = "#9xA \r&H"[rng() % 8];
    }
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += lines[i] + (i + 1 < lines.size() ? "\n" : "");
  return out;
}

TEST_F(StoryCheck, AgreesWithThePlayerOnDamagedScripts) {
  std::ifstream in(kStory / "Rodevez2E.dat", std::ios::binary);
  const std::string demo{std::istreambuf_iterator<char>(in), {}};
  const std::vector<std::string> seeds = {demo, "a\r\n#PICT    \"office.bmp\"\r\n#ICON 2\r\nb\r\n\r\nc\r\n#ENDI\r\n",
                                          "#MIDI \"town.mid\"\r\n" + std::string(380, 'y') + "\r\nq\r\n#ENDI"};
  std::mt19937 rng(8);
  int errors = 0, clean = 0;
  for (int round = 0; round < 300; ++round) {
    const std::string script = Damage(seeds[round % seeds.size()], rng);
    WriteFile("Rodevez2E.dat", script);
    const app::CheckResult check = app::CheckStory();
    error.reset();
    const bool played = Run(Module1::PlayScript);
    if (!played) {
      ++errors;
      const std::string where = error->where();
      const long line = error->line();
      ASSERT_GT(line, 0) << where;
      const bool found = std::any_of(check.findings.begin(), check.findings.end(),
                                     [&](const app::Finding& f) { return f.error && f.line == line; });
      EXPECT_TRUE(found) << "round " << round << ": the player stopped at line " << line << " (" << where
                         << "), the checker found no error there";
    } else {
      ++clean;
    }
    if (!check.HasError()) {
      EXPECT_TRUE(played) << "round " << round << ": no error found, yet the player stopped";
    }
  }
  EXPECT_GT(errors, 30);
  EXPECT_GT(clean, 30);
}

}  // namespace
