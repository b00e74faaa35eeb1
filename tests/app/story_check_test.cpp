// --check's output, as editors and the README read it: each finding at
// FILE:LINE:COLUMN, or at the line or the file alone (a byte that is no
// text, a fixed tune missing, a damaged sound effect), then the summary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/story_check.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(StoryCheckOutput, ListsEachFindingWhereEditorsJumpToThenTheSummary) {
  testing_support::TempDir dir("check");
  for (const char* f : {"Zirev.mid", "enka.mid"}) fs::copy_file(fs::path(RADADED_SOURCE_DIR "/story") / f, dir.path() / f);
  std::ofstream(dir.path() / "vmdemo3.WAV") << "RIFF";
  std::ofstream(dir.path() / "Rodevez2E.dat", std::ios::binary)
      << "a page\r\n#ICON 9\r\n#PAGE \x85\r\n#PICT    \"missing.png\"\r\n\r\nlast";
  testing_support::InDirectory in(dir.path());
  int status = 0;
  const std::string text =
      testing_support::Printed([&](std::FILE* out) { status = app::PrintCheck(app::CheckStory(), out); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(text,
            "Rodevez2E.dat:2:7: error: speaker 9: the speakers are 0 (nobody) to 8\n"
            "Rodevez2E.dat:3:7: warning: a byte that is no code page 932 text (shown as a replacement character)\n"
            "Rodevez2E.dat:4:11: error: picture \"missing.png\" not found\n"
            "Rodevez2E.dat:6: warning: no #ENDI: the story ends at the end of the file, and this last line is never "
            "shown\n"
            "lmb.mid: warning: tune \"lmb.mid\" not found: the music is silent\n"
            "vmdemo3.WAV: warning: not a sound effect the program plays: silent\n"
            "Rodevez2E.dat: 1 page, 2 errors, 4 warnings\n");
}

}  // namespace
