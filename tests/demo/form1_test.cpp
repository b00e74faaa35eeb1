// Form1: which input turns a page, the form loaded by its first property,
// and the form as it is drawn: golden images of the design state, of a
// story page, and of page text clipped at the bottom of the page label under
// the credits shade. (The close request: credits in intro_test.cpp, and the whole
// program's lifecycle test.)
#include <gtest/gtest.h>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "support/golden.h"
#include "support/toolkit_fixture.h"
#include "toolkit/picture_loader.h"

namespace {

// The toolkit under a scripted window system, and the program's state fresh.
class Form1Test : public testing_support::ToolkitFixture {
 protected:
  void SetUp() override {
    ToolkitFixture::SetUp();
    Module1::WaitingForReader = rt::False;
    VN_Midi::CurrentTune.clear();
  }
};

TEST_F(Form1Test, AKeyOrAClickOnThePageTurnIconAloneTurnsThePage) {
  const struct {
    const char* what;
    int x, y, clicks;  // clicks 0: a key release instead
    bool clears;
  } cases[] = {
      {"key release", 0, 0, 0, true},
      {"the page-turn icon's top-left pixel", 272, 280, 1, true},
      {"its bottom-right pixel", 303, 311, 1, true},
      {"just left of it", 271, 290, 1, false},
      {"just right of it", 304, 290, 1, false},
      {"the second click of a double click", 280, 290, 2, false},
      {"the third click of a triple click", 280, 290, 3, true},
      {"the page text", 400, 150, 1, false},
      {"the empty background", 600, 300, 1, false},
  };
  Form1& form = Forms::Form1();
  form.Show();
  for (const auto& c : cases) {
    Module1::WaitingForReader = rt::True;
    if (c.clicks == 0)
      platform.KeyUp(WindowOf(form));
    else
      platform.Click(WindowOf(form), c.x, c.y, c.clicks);
    tk::Toolkit::Get().DoEvents();
    EXPECT_EQ(Module1::WaitingForReader, c.clears ? rt::False : rt::True) << c.what;
  }
}

TEST_F(Form1Test, SettingAControlPropertyLoadsTheFormHiddenAndStartsItsTimer) {
  Form1& form = Forms::Form1();
  ASSERT_FALSE(form.loaded());
  form.Label2.SetCaption("Nefi");
  EXPECT_TRUE(form.loaded());
  EXPECT_FALSE(form.shown());
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_EQ(form.Label2.Caption(), "Nefi") << "set after the design state, not overwritten by it";
}

using Form1Render = testing_support::ToolkitFixture;

sdl::SurfacePtr Draw(const tk::Form& form) { return testing_support::Paint(form, 607, 318); }

Uint32 Pixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] & 0xFFFFFF;
}

TEST_F(Form1Render, DesignStateMatchesTheGoldenImage) {
  Form1& form = Forms::Form1();
  form.Show();
  auto s = Draw(form);
  testing_support::ExpectLooksLike(s.get(), "form1.png");
}

// A story page at its design size and at twice the size, where the text is
// drawn sharp and the icons keep their pixels.
TEST_F(Form1Render, AStoryPageMatchesTheGoldenImagesAtOnceAndTwiceTheSize) {
  Form1& form = Forms::Form1();
  form.Show();
  form.Image1.SetPicture(tk::LoadPicture(RADADED_SOURCE_DIR "/story/office.bmp"), "office.bmp");
  form.Image2.SetPicture(form.Image4[1].GetPicture(), "Image4(1)");
  form.Label2.SetCaption("ネフィ");
  form.Label1.SetCaption(
      "「おはようございます。今日は編集部に新しい記者が来る日ですね。」\r\n"
      "\r\n"
      "ネフィは窓の外を見ながら、少しだけ首をかしげた。\r\n"
      "Latin words wrap at blanks, & an ampersand &underlines.\r\n");
  const auto one = Draw(form), two = testing_support::Paint(form, 607, 318, 2);
  ASSERT_EQ(two->w, 2 * 607);
  // The page-turn icon (272, 280) and the portrait (320, 8), 32 x 32 each:
  // every pixel becomes a block of 2 x 2 of the same colour.
  for (const auto& [x0, y0] : {std::pair{272, 280}, std::pair{320, 8}})
    for (int y = y0; y < y0 + 32; ++y)
      for (int x = x0; x < x0 + 32; ++x)
        for (int k = 0; k < 4; ++k)
          ASSERT_EQ(Pixel(two.get(), 2 * x + k % 2, 2 * y + k / 2), Pixel(one.get(), x, y)) << x << "," << y;
  testing_support::ExpectLooksLike(one.get(), "form1_page.png");
  testing_support::ExpectLooksLike(two.get(), "form1_page_x2.png");
}

// Page text cut off at the bottom of the page label (nothing drawn below y
// 312), and the credits' shade hatched over the picture pane, which shows
// between its lines.
TEST_F(Form1Render, AnOverfullPageUnderTheCreditsShadeMatchesTheGoldenImage) {
  Form1& form = Forms::Form1();
  form.Show();
  std::string text;
  for (int i = 0; i < 40; ++i) text += "■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■\r\n";
  form.Label1.SetCaption(text);
  form.Shape2.SetVisible(true);
  testing_support::ExpectLooksLike(Draw(form).get(), "form1_overfull_shaded.png");
}

}  // namespace
