// The closing credits: the staff screen, and how the process ends.
#include <gtest/gtest.h>

#include "demo/credits.h"
#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/vn_midi.h"
#include "support/story_fixture.h"

namespace {

using Credits = testing_support::StoryFixture;
using Events = std::vector<std::string>;


TEST_F(Credits, WithoutTheClosingTuneTheStaffScreenStaysAndTheStoryMusicReturns) {
  Forms::Form1().Show();
  midi.existing.insert(dir.string() + "\\night.mid");
  VN_Midi::CurrentTune = "night.mid";
  Module1::ClosingCredits();
  EXPECT_TRUE(Forms::Form1().Shape2.visible());
  EXPECT_EQ(Forms::Form1().Image2.GetPicture(), nullptr);
  RunUntil(600);
  EXPECT_EQ(Log().back(), "play night.mid") << "the loop check goes on after the credits";
}

TEST_F(Credits, TheProcessEndsWhenTheClosingTuneStops) {
  Forms::Form1().Show();
  midi.existing.insert(dir.string() + "\\lmb.mid");
  platform.on_wait = [this] {
    if (platform.clock.NowMs() >= 3000) midi.EndOfTune();
  };
  EXPECT_THROW(Module1::ClosingCredits(), tk::ProcessEnd);
  EXPECT_EQ(Log(), (Events{"stop", "play lmb.mid", "shade", "icon ", "name Radaded 2K  スタッフ",
                           "page " + Forms::Form1().Label1.Caption()}));
  EXPECT_NE(Forms::Form1().Label1.Caption().find("製作著作"), std::string::npos);
  EXPECT_GE(platform.clock.NowMs(), 3000);
  EXPECT_LT(platform.clock.NowMs(), 3600);
}

TEST_F(Credits, ClosingTheWindowWhileTheTunePlaysStopsItAndEnds) {
  Forms::Form1().Show();
  midi.existing.insert(dir.string() + "\\lmb.mid");
  tk::Event close;
  close.type = tk::Event::Type::kClose;
  platform.Post(close, 1000);
  EXPECT_THROW(Module1::ClosingCredits(), tk::ProcessEnd);
  EXPECT_EQ(Log().back(), "stop");
  EXPECT_EQ(platform.clock.NowMs(), 1000);
}

}  // namespace
