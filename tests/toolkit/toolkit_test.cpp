// The toolkit's run time (timers, yield, input dispatch, close and End, the
// error report). (The picture loader's errors: the story checker's table,
// through the player.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/runtime_error.h"
#include "support/temp_dir.h"
#include "support/toolkit_fixture.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/picture_loader.h"

namespace {

using testing_support::ToolkitFixture;

// A form with one timer and one label, counting what happens to it.
class Probe final : public tk::Form {
 public:
  Probe() : tk::Form("Probe") {
    Add(Label1, "Label1");
    Add(Timer1, "Timer1");
  }
  ~Probe() override { ForceClose(); }  // forms of the program live until it ends
  tk::Label Label1;
  tk::Timer Timer1;
  std::vector<std::int64_t> ticks;
  int clicks = 0;

  void Click(tk::Control&) override { ++clicks; }
  void Tick(tk::Timer&) override { ticks.push_back(tk::Toolkit::Get().clock().NowMs()); }

 protected:
  void LoadDesign() override {
    client_width = 1500, client_height = 1500;
    Label1.Design(true, {0, 0, 300, 300}, {});
    Timer1.Design(50, true);
  }
};

using ToolkitTest = ToolkitFixture;

// The yield sleeps until the next timer instead of spinning; ticks keep the
// beat and never pile up.
TEST_F(ToolkitTest, TimerTicksKeepTheBeatAndNeverPileUp) {
  Probe form;
  form.Show();
  platform.waits.clear();
  tk::Toolkit::Get().DoEvents();
  EXPECT_EQ(platform.waits, std::vector<int>{50}) << "one wait, for the timer";
  RunUntil(200);
  EXPECT_EQ(form.ticks, (std::vector<std::int64_t>{50, 100, 150, 200}));
  // A busy spell of 1 s leaves one tick, then the beat goes on from there.
  platform.clock.Advance(1000);
  form.ticks.clear();
  RunUntil(1300);
  EXPECT_EQ(form.ticks, (std::vector<std::int64_t>{1200, 1250, 1300}));
}

// (No form of the program cancels its unloading.)
TEST_F(ToolkitTest, CloseRequestUnloadsAndVisibleReloadsHidden) {
  Probe form;
  form.Show();
  platform.Post({.type = tk::Event::Type::kClose, .window = WindowOf(form)});
  tk::Toolkit::Get().DoEvents();
  EXPECT_FALSE(form.loaded());
  EXPECT_TRUE(platform.windows.empty());
  // Reading Visible of an unloaded form loads it again, hidden.
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.loaded());
  EXPECT_TRUE(platform.windows.empty());
}

TEST_F(ToolkitTest, AQuitRequestClosesEveryWindowAndEnds) {
  Probe form;
  form.Show();
  platform.Post({.type = tk::Event::Type::kQuit}, 120);
  EXPECT_THROW(RunUntil(1000), rt::ProcessEnd);
  EXPECT_FALSE(form.loaded());
}

// A click is a press and a release on the same control (Label1 covers the
// first 20 x 20 pixels).
TEST_F(ToolkitTest, APressReleasedAwayFromItsControlIsNoClick) {
  Probe form;
  form.Show();
  const struct {
    int x, y;
    int clicks;
  } releases[] = {{5, 5, 1}, {100, 100, 0}, {19, 0, 1}, {20, 0, 0}};
  for (const auto& r : releases) {
    platform.Post({.type = tk::Event::Type::kMouseDown, .window = WindowOf(form), .x = 5, .y = 5, .clicks = 1});
    platform.Post({.type = tk::Event::Type::kMouseUp, .window = WindowOf(form), .x = r.x, .y = r.y, .clicks = 1});
    form.clicks = 0;
    tk::Toolkit::Get().DoEvents();
    EXPECT_EQ(form.clicks, r.clicks) << "released at " << r.x << "," << r.y;
  }
}

TEST_F(ToolkitTest, TheErrorReportSaysWhatAndWhere) {
  tk::Toolkit::Get().ReportError(rt::RuntimeError(53, "gone.bmp"));
  tk::Toolkit::Get().ReportError(rt::RuntimeError(5));
  EXPECT_EQ(platform.reports,
            (std::vector<std::string>{"Run-time error '53':\n\nFile not found\n\ngone.bmp",
                                      "Run-time error '5':\n\nInvalid procedure call or argument"}));
}

// A picture named again is the one decoded before, until its file changes;
// a file that is no picture is judged once too.
TEST(PictureLoader, APictureIsDecodedOnceAFileVersion) {
  testing_support::TempDir dir("loader");
  testing_support::InDirectory in(dir.path());
  std::filesystem::copy_file(RADADED_SOURCE_DIR "/story/office.bmp", "a.bmp");
  const auto first = tk::LoadPicture("a.bmp");
  EXPECT_EQ(tk::LoadPicture("A.BMP"), first);
  std::filesystem::copy_file(RADADED_SOURCE_DIR "/story/night.bmp", "a.bmp",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(tk::LoadPicture("a.bmp"), first);
  std::ofstream("no.bmp") << "hello";
  for (int round = 0; round < 2; ++round) {
    try {
      tk::LoadPicture("no.bmp");
      ADD_FAILURE() << "no picture, round " << round;
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), rt::kInvalidPicture);
    }
  }
}

}  // namespace
