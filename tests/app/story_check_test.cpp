// --check's output, as editors and the README read it: each finding at
// FILE:LINE:COLUMN, or at the line or the file alone, then the summary; and
// the damaged scripts kept as regressions, each found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/story_check.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(StoryCheckOutput, ListsEachFindingWhereEditorsJumpToThenTheSummary) {
  testing_support::TempDir dir("check");
  for (const char* f : {"Zirev.mid", "enka.mid", "vmdemo3.WAV"})
    fs::copy_file(fs::path(RADADED_SOURCE_DIR "/story") / f, dir.path() / f);
  std::ofstream(dir.path() / "Rodevez2E.dat", std::ios::binary)
      << "a page\r\n#ICON 9\r\n#PAGE \x85\r\n#PICT    \"missing.png\"\r\n\r\nlast";
  testing_support::InDirectory in(dir.path());
  std::FILE* out = std::tmpfile();
  EXPECT_EQ(app::PrintCheck(app::CheckStory(), out), 1);
  std::rewind(out);
  std::string text(4096, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  EXPECT_EQ(text,
            "Rodevez2E.dat:2:7: error: speaker 9: the speakers are 0 (nobody) to 8\n"
            "Rodevez2E.dat:3:7: warning: a byte that is no code page 932 text (shown as a replacement character)\n"
            "Rodevez2E.dat:4:11: error: picture \"missing.png\" not found\n"
            "Rodevez2E.dat:6: warning: no #ENDI: the story ends at the end of the file, and this last line is never "
            "shown\n"
            "lmb.mid: warning: tune \"lmb.mid\" not found: the music is silent\n"
            "Rodevez2E.dat: 1 page, 2 errors, 3 warnings\n");
}

// The scripts that once broke the program (tests/regressions/script): each
// an error at its first line.
TEST(StoryCheckOutput, TheScriptRegressionsAreErrorsAtTheirFirstLine) {
  int checked = 0;
  for (const auto& e : fs::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/script")) {
    testing_support::TempDir dir("regression");
    fs::copy_file(e.path(), dir.path() / "Rodevez2E.dat");
    testing_support::InDirectory in(dir.path());
    const auto findings = app::CheckStory().findings;
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [](const auto& f) { return f.error && f.line == 1; }))
        << e.path().filename();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
