// The intro window: where it is placed, its 46-tick timeline, and how it looks
// when the logo is complete; and the start-up order around it.
#include <gtest/gtest.h>

#include <algorithm>

#include "demo/forms.h"
#include "demo/startup.h"
#include "demo/vm_demo.h"
#include "runtime/runtime_error.h"
#include "support/golden.h"
#include "support/story_fixture.h"

namespace {

TEST(IntroPlacement, CentresWithTheDifferenceRoundedThenHalvedTowardZero) {
  struct Case {
    float screen, window;
    std::int32_t edge;
  };
  const Case cases[] = {{15360, 4890, 5235}, {11520, 2355, 4582}, {4891, 0, 2445}, {0, 15, -7},
                        {100.5f, 0, 50},     {101.5f, 0, 51},     {-101.5f, 0, -51}};
  for (const auto& c : cases) EXPECT_EQ(CentredEdge(c.screen, c.window), c.edge) << c.screen << " - " << c.window;
  EXPECT_THROW(CentredEdge(3e38f, -3e38f), tk::RuntimeError);
}

class Intro : public testing_support::StoryFixture {
 protected:
  // Shows the intro and yields until it is gone, as the start-up procedure does.
  void RunIntro() {
    VmDemo& intro = Forms::VmDemo();
    intro.Show();
    do tk::Toolkit::Get().DoEvents();
    while (intro.Visible());
  }
  bool Has(const std::vector<std::string>& sets, const std::string& line) {
    return std::find(sets.begin(), sets.end(), line) != sets.end();
  }
};

TEST_F(Intro, TheTimelineActsOnExactlyItsTicks) {
  RunIntro();
  const auto sets = Sets("VmDemo");
  const char* expected[] = {
      "100 Line1(0) Visible true",   "100 Label1 Visible true",      "150 Image1(0) Left 4850",
      "150 Image1(0) Top 0",         "200 Image1(0) Top 20",         "1400 Image1(0) Left 1100",
      "1400 Image1(0) Top 20",       "1500 Image1(0) Left 5000",     "1500 Label2 Visible true",
      "1550 Image1(2) Top 50",       "1550 Image1(2) Left 1100",     "1750 Image1(2) Top 250",
      "1800 Image1(2) Left 5000",    "1800 Label3 Visible true",     "1850 Image1(1) Top 300",
      "2100 Image1(1) Top 550",      "2100 Image1(1) Left 1100",     "2250 Timer1 Interval 3000",
      "5250 Timer1 Enabled false"};
  for (const char* line : expected) EXPECT_TRUE(Has(sets, line)) << line;
  // Nothing happens on ticks 1, 29, 43 and 44, and no tick comes after the 46th.
  for (const auto& line : sets) {
    const int ms = std::stoi(line);
    EXPECT_TRUE(ms != 50 && ms != 1450 && ms != 2150 && ms != 2200 && ms <= 5250) << line;
  }
  // Tick 2 shows 4 controls; 3-28 move and lift the flyer (2 each); 30 parks it
  // and shows 4; 31-35 and 37-42 move a pose (2 each); 36 parks and shows 1;
  // 45 and 46 set the timer.
  EXPECT_EQ(sets.size(), 4u + 26 * 2 + 5 + 5 * 2 + 2 + 6 * 2 + 1 + 1) << "every set of the timeline, once";
  const auto log = Log(true);
  EXPECT_EQ(log, (std::vector<std::string>{"show VmDemo", "play Zirev.mid", "wav", "stop", "unload VmDemo"}));
  EXPECT_EQ(platform.clock.NowMs(), 5250);
}

TEST_F(Intro, ClosedEarlyItStopsAndLeavesItsTunePlaying) {
  tk::Event close;
  close.type = tk::Event::Type::kClose;
  platform.Post(close, 700);
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

TEST_F(Intro, StartUpRunsIntroStoryAndCreditsInOrder) {
  WriteScript("one page\r\n#ENDI\r\n");
  Module1::Main();  // no closing tune here, so the credits return
  auto log = Log(true);
  log.resize(12);  // the staff screen that follows: credits_test.cpp
  EXPECT_EQ(log, (std::vector<std::string>{"show VmDemo", "play Zirev.mid", "wav", "stop", "unload VmDemo",
                                           "unload VmDemo", "play enka.mid", "show Form1", "page one page\r\n", "turn",
                                           "stop", "play lmb.mid"}));
}

}  // namespace
