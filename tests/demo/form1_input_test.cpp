// Form1's input handlers: which input turns a page; and the form loaded by
// its first property. (The close request: credits in intro_test.cpp, and the
// whole program's lifecycle test.)
#include <gtest/gtest.h>

#include <ostream>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "support/test_name.h"
#include "support/toolkit_fixture.h"

namespace {

// Form1's input handlers: which input turns a page.
struct InputCase {
  const char* what;
  int x, y, clicks;  // clicks 0: a key release instead
  bool clears;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.what; }

// The toolkit under a scripted window system, and the program's state fresh.
class Form1Test : public testing_support::ToolkitFixture {
 protected:
  void SetUp() override {
    ToolkitFixture::SetUp();
    Module1::WaitingForReader = tk::False;
    VN_Midi::CurrentTune.clear();
  }
};

class Form1InputTest : public Form1Test, public ::testing::WithParamInterface<InputCase> {};

TEST_P(Form1InputTest, ClearsWaitingForReaderOnlyForAKeyOrAPageTurnClick) {
  const InputCase& c = GetParam();
  Form1& form = Forms::Form1();
  form.Show();
  Module1::WaitingForReader = tk::True;
  if (c.clicks == 0)
    platform.KeyUp(WindowOf(form));
  else
    platform.Click(WindowOf(form), c.x, c.y, c.clicks);
  tk::Toolkit::Get().DoEvents();
  EXPECT_EQ(Module1::WaitingForReader, c.clears ? tk::False : tk::True) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Form1InputTest,
    ::testing::Values(InputCase{"key release", 0, 0, 0, true},
                      InputCase{"click on the page-turn image", 280, 290, 1, true},
                      InputCase{"its top-left pixel", 272, 280, 1, true},
                      InputCase{"its bottom-right pixel", 303, 311, 1, true},
                      InputCase{"just left of it", 271, 290, 1, false},
                      InputCase{"just right of it", 304, 290, 1, false},
                      InputCase{"the second click of a double click", 280, 290, 2, false},
                      InputCase{"the third click of a triple click", 280, 290, 3, true},
                      InputCase{"the scene picture", 100, 150, 1, false},
                      InputCase{"the page text", 400, 150, 1, false},
                      InputCase{"the portrait", 330, 20, 1, false},
                      InputCase{"the empty background", 600, 300, 1, false}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

TEST_F(Form1Test, SettingAControlPropertyLoadsTheFormHiddenAndStartsItsTimer) {
  Form1& form = Forms::Form1();
  ASSERT_FALSE(form.loaded());
  form.Label2.SetCaption("Nefi");
  EXPECT_TRUE(form.loaded());
  EXPECT_FALSE(form.shown());
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_EQ(form.Label2.Caption(), "Nefi") << "set after the design state, not overwritten by it";
}

}  // namespace
