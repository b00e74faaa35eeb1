// The intro window: its 46-tick timeline, and how it looks
// when the logo is complete; the start-up order around it; and the closing
// credits: the staff screen, and how the process ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "demo/credits.h"
#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/startup.h"
#include "demo/vm_demo.h"
#include "demo/vn_midi.h"
#include "runtime/runtime_error.h"
#include "support/golden.h"
#include "support/story_fixture.h"

namespace {

class Intro : public testing_support::StoryFixture {
 protected:
  // Shows the intro and yields until it is gone, as the start-up procedure does.
  void RunIntro() {
    VmDemo& intro = Forms::VmDemo();
    intro.Show();
    do tk::Toolkit::Get().DoEvents();
    while (intro.Visible());
  }
};

// The timeline's every set, with its time, as tests/golden/intro_timeline.txt
// has it (rewritten with RADADED_UPDATE_GOLDEN=1, as the golden images are);
// the intro window taking the focus again while it is the active one starts
// nothing over.
TEST_F(Intro, TheTimelineActsOnExactlyItsTicksWhateverTheFocusDoes) {
  const std::string golden = RADADED_SOURCE_DIR "/tests/golden/intro_timeline.txt";
  for (const std::int64_t focus_at : {-1, 1000, 5000}) {
    SCOPED_TRACE(focus_at);
    TearDown();
    SetUp();
    const std::int64_t start = platform.clock.NowMs();  // the fake clock runs on across cases
    platform.on_wait = [&, posted = false]() mutable {
      if (focus_at < 0 || posted || platform.clock.NowMs() - start < focus_at) return;
      posted = true;
      platform.Post({.type = tk::Event::Type::kFocus, .window = WindowOf(Forms::VmDemo())});
    };
    RunIntro();
    std::string sets;
    for (const auto& line : Sets("VmDemo"))
      sets += std::to_string(std::stoll(line) - start) + line.substr(line.find(' ')) + "\n";
    if (const char* update = std::getenv("RADADED_UPDATE_GOLDEN"); update && *update && focus_at < 0)
      std::ofstream(golden) << sets;
    std::ifstream in(golden);
    EXPECT_EQ(sets, std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_EQ(Log(true), (std::vector<std::string>{"show VmDemo", "play Zirev.mid", "wav", "stop", "unload VmDemo"}));
    EXPECT_EQ(platform.clock.NowMs() - start, 5250);
  }
}

TEST_F(Intro, ClosedEarlyItStopsAndLeavesItsTunePlaying) {
  platform.Post({.type = tk::Event::Type::kClose}, 700);
  RunIntro();
  EXPECT_EQ(platform.clock.NowMs(), 700);
  EXPECT_EQ(Log(true), (std::vector<std::string>{"show VmDemo", "play Zirev.mid", "wav", "unload VmDemo"}));
}

TEST_F(Intro, TheWindowIsBlackUntilTheSecondTickAndEndsWithTheWholeLogo) {
  VmDemo& intro = Forms::VmDemo();
  intro.Show();
  const auto early = testing_support::Paint(intro);
  const auto* px = static_cast<const std::uint32_t*>(early->pixels);
  EXPECT_TRUE(std::all_of(px, px + early->w * early->h, [](std::uint32_t p) { return (p & 0xFFFFFF) == 0; }));
  while (intro.TickCount < 45) tk::Toolkit::Get().DoEvents();
  testing_support::ExpectLooksLike(testing_support::Paint(intro).get(), "intro_logo.png");
}

// Without a closing tune the staff screen stays, and the loop check brings
// the story's tune back.
TEST_F(Intro, StartUpRunsIntroStoryAndCreditsInOrder) {
  WriteScript("one page\r\n#MIDI \"night.mid\"\r\n#ENDI\r\n");
  midi.existing.insert("night.mid");
  Module1::Main();
  RunUntil(platform.clock.NowMs() + 600);
  const std::string staff = Forms::Form1().Label1.Caption();
  EXPECT_NE(staff.find("製作著作"), std::string::npos);
  EXPECT_EQ(Log(true), (std::vector<std::string>{"show VmDemo", "play Zirev.mid", "wav", "stop", "unload VmDemo",
                                                 "unload VmDemo", "play enka.mid", "show Form1", "page one page\r\n",
                                                 "turn", "stop", "stop", "play lmb.mid", "shade", "icon ",
                                                 "name Radaded 2K  スタッフ", "page " + staff, "play night.mid"}));
}

using Credits = testing_support::StoryFixture;

TEST_F(Credits, TheProcessEndsWhenTheClosingTuneStops) {
  Forms::Form1().Show();
  midi.existing.insert("lmb.mid");
  platform.on_wait = [this] {
    if (platform.clock.NowMs() >= 3000) midi.EndOfTune();
  };
  EXPECT_THROW(Module1::ClosingCredits(), rt::ProcessEnd);
  EXPECT_EQ(Log().size(), 6u) << "the staff screen, as the start-up shows it";
  EXPECT_GE(platform.clock.NowMs(), 3000);
  EXPECT_LT(platform.clock.NowMs(), 3600);
}

TEST_F(Credits, ClosingTheWindowWhileTheTunePlaysStopsItAndEnds) {
  Forms::Form1().Show();
  midi.existing.insert("lmb.mid");
  platform.Post({.type = tk::Event::Type::kClose}, 1000);
  EXPECT_THROW(Module1::ClosingCredits(), rt::ProcessEnd);
  EXPECT_EQ(Log().back(), "stop");
  EXPECT_EQ(platform.clock.NowMs(), 1000);
}

}  // namespace
