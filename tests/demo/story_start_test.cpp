// Where the story starts (--from), a page built again when the story's
// files change (--watch) or the reader goes back, read back from the trace.
#include <gtest/gtest.h>

#include <fstream>

#include <algorithm>
#include <memory>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/start_line.h"
#include "demo/script_player.h"
#include "demo/services.h"
#include "demo/startup.h"
#include "demo/story_watcher.h"
#include "demo/waiting_for_reader.h"
#include "support/bytes.h"
#include "support/fake_file_watcher.h"
#include "support/story_fixture.h"

namespace {

using Events = std::vector<std::string>;

class StoryStart : public testing_support::StoryFixture {
 protected:
  void SetUp() override {
    StoryFixture::SetUp();
    // A 4 x 3 BMP, 24 bits.
    const auto header = testing_support::Bytes().Le32(40).Le32(4).Le32(3).Le16(1).Le16(24).Le32(0).Le32(36).Fill(16, 0);
    WriteFile("p.bmp", testing_support::Bytes().Text("BM").Le32(90).Le32(0).Le32(54).Add(header).Fill(36, 0x7f).str());
  }
  // A watcher of the story, on a file watcher the test tells what changed,
  // reporting what the checker finds into `reports`.
  // `while_checking` runs as the checker lays out each page (after it has
  // read the script).
  script::StoryWatcher Watcher(std::function<void()> while_checking = [] {}) {
    auto files = std::make_unique<testing_support::FakeFileWatcher>();
    changes = files.get();
    return script::StoryWatcher(
        std::move(files), [while_checking](const tk::Label&) { return while_checking(), true; },
        [this](const script::CheckResult& r) { reports.push_back(r); });
  }
  // Music and a picture before the page of lines 5 and 6.
  static std::string Script(const std::string& line5 = "two", const std::string& line4 = "#ICON 2") {
    return "#MIDI \"a.mid\"\r\none\r\n#PICT    \"p.bmp\"\r\n" + line4 + "\r\n" + line5 +
           "\r\ntwo more\r\n#MIDI \"b.mid\"\r\nthree\r\n#ENDI\r\n";
  }
  std::string Page() { return Forms::Form1().Label1.Caption(); }

  testing_support::FakeFileWatcher* changes = nullptr;
  std::vector<script::CheckResult> reports;
};

TEST_F(StoryStart, FromALineInThePageCarriesOutTheCommandsBeforeItWithoutTheIntro) {
  WriteScript(Script());
  Module1::Wiring wiring({.midi = &midi, .start = {.line = 6}});
  // The reader takes 0.6 s over each page: the music-loop check ticks meanwhile.
  std::string read;
  platform.on_wait = [&] {
    if (Module1::WaitingForReader && Page() != read) platform.KeyUp(0, platform.clock.NowMs() + 600);
    read = Page();
  };
  ASSERT_TRUE(Run(Module1::Main)) << error->where();
  const Events log = Log(true);
  ASSERT_GE(log.size(), 13u);
  EXPECT_EQ(Events(log.begin(), log.begin() + 13),
            (Events{"play enka.mid", "show Form1", "pict p.bmp", "icon Image4(2)", "name ソモ", "stop",
                    "page two\r\ntwo more\r\n", "play a.mid", "turn", "stop", "page three\r\n", "play b.mid", "turn"}))
      << "no intro; a page passed over; its tune named once, started while the page is read";
  EXPECT_EQ(Forms::Form1().Image1.box(), (tk::Box{120, 960, (4 + 4) * 15, (3 + 4) * 15}))
      << "the pane takes the picture's size and its border";
}

TEST_F(StoryStart, WatchBuildsThePageAgainAndKeepsItWhenTheScriptHasAnError) {
  WriteScript(Script());
  midi.existing.insert("a.mid");  // the tune plays on
  // The save of "TWO" is saved over again, with an error, while it is being
  // checked: what plays is what was checked, the second save waits for the
  // next change.
  bool saved_over = false;
  script::StoryWatcher watcher = Watcher([&] {
    std::ifstream in(dir / "Rodevez2E.dat", std::ios::binary);
    const std::string now(std::istreambuf_iterator<char>(in), {});
    if (!saved_over && now.find("TWO") != std::string::npos) saved_over = true, WriteScript(Script("TWO", "#ICON 99"));
  });
  EXPECT_FALSE(watcher.Changed(1)) << "the first call learns what to watch";
  EXPECT_EQ(changes->watched, (Events{"Rodevez2E.dat", "a.mid", "p.bmp", "b.mid"}));
  Module1::Wiring wiring({.midi = &midi, .start = {.watch = &watcher}});
  int rewrites = 0;
  platform.on_wait = [&] {
    if (!Module1::WaitingForReader) return;
    if (Page().rfind("two", 0) == 0 && rewrites == 0) {
      WriteScript(Script("TWO"));
    } else if (Page().rfind("TWO", 0) == 0 && rewrites == 1) {
      WriteScript(Script("TWO", "#ICON 9"));
    } else {
      platform.KeyUp();
      return;
    }
    ++rewrites;
    changes->changed = {"Rodevez2E.dat"};
  };
  ASSERT_TRUE(Run(Module1::PlayScript)) << error->where();
  const Events log = Log();
  const auto two = std::find(log.begin(), log.end(), "page two\r\ntwo more\r\n");
  ASSERT_NE(two, log.end());
  EXPECT_EQ(Events(two, log.end()),
            (Events{"page two\r\ntwo more\r\n", "play a.mid", "pict ", "icon Image4(0)", "name ", "pict p.bmp", "icon Image4(2)",
                    "name ソモ", "page TWO\r\ntwo more\r\n", "turn", "stop", "page three\r\n", "turn"}))
      << "built again from the top, the tune left playing; after the error, the page stays and turns as before";
  ASSERT_EQ(reports.size(), 1u);
  const auto& findings = reports[0].findings;
  const auto bad = std::find_if(findings.begin(), findings.end(), [](const auto& f) { return f.error; });
  ASSERT_NE(bad, findings.end());
  EXPECT_EQ(bad->line, 4);
}

// --from, and --watch after a save: the line asked for, in the script as it
// now is.
TEST_F(StoryStart, ALineThatTheStoryNeverReachesIsAnError) {
  const std::string notes = "a\r\n#ENDI\r\n\r\nnotes\r\n", last = "a\r\nb\r\n#PAGE\r\nc\r\n#ENDI",
                    unended = "a\r\nb\r\n#PAGE\r\nc";
  const struct {
    const std::string& script;
    long line;
    std::string text;
  } cases[] = {
      {notes, 1, ""},
      {notes, 2, ""},
      {notes, 3, "line 3 comes after #ENDI (line 2), where the story ends"},
      {notes, 5, "line 5 is past the end of the script, which has 4 lines"},
      {last, 5, ""},  // the script's last line
      {last, 6, "line 6 is past the end of the script, which has 5 lines"},
      {unended, 4, "line 4 is never shown: the story ends when it has read it, after a command (end the script with "
                   "#ENDI)"},
  };
  for (const auto& c : cases) {
    WriteScript(c.script);
    const auto finding = script::CheckStartLine(c.line);
    EXPECT_EQ(finding ? finding->text : "", c.text) << c.line;
    if (finding) {
      EXPECT_EQ(finding->line, c.line);
    }
  }
}

TEST_F(StoryStart, ASaveThatLeavesThePageOutsideTheStoryKeepsItAndIsReported) {
  WriteScript(Script());
  script::StoryWatcher watcher = Watcher();
  watcher.Changed(5);
  WriteScript("one\r\n#ENDI\r\n");  // a good story, two lines long
  changes->changed = {"Rodevez2E.dat"};
  EXPECT_FALSE(watcher.Changed(5)) << "the page of line 5 is no longer in the story";
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].findings.at(0).line, 5);
}

// The reader goes back (PageUp, the wheel up) and forward again: each page
// comes back as it was shown, built again from the script.
TEST_F(StoryStart, GoingBackShowsThePageBeforeAsItWas) {
  const std::string script = "one\r\n#MIDI \"a.mid\"\r\n#PICT    \"p.bmp\"\r\n#ICON 2\r\ntwo\r\n#ICON 0\r\nthree\r\n#PAGE\r\n"
                             "four\r\n#ENDI\r\n";
  enum Act { kOn, kPageUp, kWheelUp, kWheelDown, kCopy };
  const struct {
    const char* what;
    long from;
    std::vector<Act> acts;
    Events log;  // pages with text, their first lines; speakers, pictures, tunes
  } cases[] = {
      {"back twice to the first page, which has the story's tune; nothing before it",
       0,
       {kOn, kOn, kPageUp, kWheelUp, kPageUp, kOn, kCopy, kOn, kWheelDown, kOn},
       {"page one", "stop", "pict p.bmp", "icon Image4(2)", "name ソモ", "page two", "icon Image4(0)", "name ",
        "page three", "back", "pict ", "icon Image4(0)", "name ", "pict p.bmp", "icon Image4(2)", "name ソモ",
        "page two", "back", "pict ", "icon Image4(0)", "name ", "stop", "play enka.mid", "page one", "back", "stop",
        "pict p.bmp", "icon Image4(2)", "name ソモ", "page two", "icon Image4(0)", "name ", "page three",
        "page four"}},
      {"from a line: back goes before it; the tune that is the same plays on",
       9,
       {kPageUp, kPageUp, kOn, kOn, kOn},
       {"pict p.bmp", "icon Image4(2)", "name ソモ", "icon Image4(0)", "name ", "stop", "page four", "back", "pict ",
        "icon Image4(0)", "name ", "pict p.bmp", "icon Image4(2)", "name ソモ", "icon Image4(0)", "name ",
        "page three", "back", "pict ", "icon Image4(0)", "name ", "pict p.bmp", "icon Image4(2)", "name ソモ",
        "page two", "icon Image4(0)", "name ", "page three", "page four"}},
  };
  for (const auto& c : cases) {
    SetUp();
    platform.clipboard.clear();
    WriteScript(script);
    midi.existing.insert("a.mid");
    Module1::ReaderPlace place;
    Module1::Wiring wiring({.midi = &midi, .place = &place, .start = {.line = c.from}});
    std::size_t next = 0;
    platform.on_wait = [&] {
      if (!Module1::WaitingForReader || next >= c.acts.size()) return;
      const Act act = c.acts[next++];
      if (act == kPageUp) platform.KeyUp(0, -1, 33);
      else if (act == kCopy) platform.Post({.type = tk::Event::Type::kCopy});
      else if (act == kWheelUp || act == kWheelDown) platform.Post({.type = tk::Event::Type::kWheel, .clicks = act == kWheelUp ? 1 : -1});
      else platform.KeyUp();
    };
    ASSERT_TRUE(Run(Module1::PlayScript)) << error->where();
    Events log;
    for (std::string e : Log())
      if (e != "turn" && e != "page ") log.push_back(e.substr(0, e.find("\r")));

    EXPECT_EQ(log, c.log) << c.what;
    EXPECT_TRUE(place.ended);
    EXPECT_EQ(platform.clipboard, c.from ? "" : "ソモ\ntwo") << "the copy, which turned no page";
    TearDown();
  }
}

}  // namespace
