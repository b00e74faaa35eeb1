// Form1 as it is drawn: the design state against a golden image, and page
// text clipped at the bottom of the page label.
//
// To accept an intended change of the drawing, run the test once with
// RADADED_UPDATE_GOLDEN=1; it rewrites tests/golden/*.png.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <cstdlib>
#include <string>

#include "form1.h"
#include "form_renderer.h"
#include "forms.h"
#include "sdl_ptrs.h"
#include "toolkit_fixture.h"

namespace {

using Form1Render = testing_support::ToolkitFixture;

const std::string kGoldenDir = RADADED_SOURCE_DIR "/tests/golden/";

tk::SurfacePtr Draw(const tk::Form& form) {
  tk::SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, 607, 318, 32, SDL_PIXELFORMAT_ARGB8888));
  tk::FormRenderer renderer;
  renderer.RenderInto(form, s.get());
  return s;
}

Uint32 Pixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] & 0xFFFFFF;
}

// Pixels that differ by more than a little in any channel.
int Differences(SDL_Surface* a, SDL_Surface* b) {
  int n = 0;
  for (int y = 0; y < a->h; ++y)
    for (int x = 0; x < a->w; ++x) {
      const Uint32 p = Pixel(a, x, y), q = Pixel(b, x, y);
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((p >> shift) & 255) - static_cast<int>((q >> shift) & 255)) > 24) {
          ++n;
          break;
        }
    }
  return n;
}

void ExpectLooksLike(SDL_Surface* actual, const std::string& name) {
  const std::string path = kGoldenDir + name;
  if (const char* update = std::getenv("RADADED_UPDATE_GOLDEN"); update && *update) {
    ASSERT_EQ(IMG_SavePNG(actual, path.c_str()), 0);
    return;
  }
  tk::SurfacePtr loaded(IMG_Load(path.c_str()));
  ASSERT_TRUE(loaded) << "no golden image " << path << " (run with RADADED_UPDATE_GOLDEN=1)";
  tk::SurfacePtr expected(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  ASSERT_EQ(expected->w, actual->w);
  ASSERT_EQ(expected->h, actual->h);
  const int diff = Differences(actual, expected.get());
  if (diff > 40) IMG_SavePNG(actual, (name + ".actual.png").c_str());
  EXPECT_LE(diff, 40) << "differs from " << path << "; what was drawn is in " << name << ".actual.png";
}

TEST_F(Form1Render, DesignStateMatchesTheGoldenImage) {
  Form1& form = Forms::Form1();
  form.Show();
  auto s = Draw(form);
  ExpectLooksLike(s.get(), "form1.png");
}

TEST_F(Form1Render, AStoryPageWithSpeakerAndPictureMatchesTheGoldenImage) {
  Form1& form = Forms::Form1();
  form.Show();
  form.Image2.SetPicture(form.Image4[1].GetPicture(), "Image4(1)");
  form.Label2.SetCaption("ネフィ");
  form.Label1.SetCaption(
      "「おはようございます。今日は編集部に新しい記者が来る日ですね。」\r\n"
      "\r\n"
      "ネフィは窓の外を見ながら、少しだけ首をかしげた。\r\n"
      "Latin words wrap at blanks, & an ampersand &underlines.\r\n");
  auto s = Draw(form);
  ExpectLooksLike(s.get(), "form1_page.png");
}

TEST_F(Form1Render, PageTextIsCutOffAtTheBottomOfTheLabel) {
  Form1& form = Forms::Form1();
  form.Show();
  std::string text;
  for (int i = 0; i < 40; ++i) text += "■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■\r\n";
  form.Label1.SetCaption(text);
  auto s = Draw(form);
  const Uint32 face = 0xD4D0C8;
  // Label1 spans y 48..312 inside its edge; below it lies the bare window.
  int inked = 0;
  for (int x = 322; x < 599; ++x) {
    inked += Pixel(s.get(), x, 305) != face;
    for (int y = 313; y < 318; ++y) ASSERT_EQ(Pixel(s.get(), x, y), face) << x << "," << y;
  }
  EXPECT_GT(inked, 50);
}

TEST_F(Form1Render, CreditsShadeLetsThePictureShowBetweenItsLines) {
  Form1& form = Forms::Form1();
  form.Show();
  form.Shape2.SetVisible(true);
  auto s = Draw(form);
  int hatch = 0, between = 0;
  for (int x = 20; x < 60; ++x) {
    const Uint32 p = Pixel(s.get(), x, 150);
    hatch += p == 0xC0FFFF;
    between += p == 0xD4D0C8;
  }
  EXPECT_EQ(hatch, 10);  // two lines cross every 8 pixels
  EXPECT_EQ(between, 30);
}

}  // namespace
