// The picture loader: the format comes from the file's own bytes, and no bad
// file gets past it as anything but an error report.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <fstream>

#include "runtime/runtime_error.h"
#include "toolkit/picture_loader.h"

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<int> b) { return {b.begin(), b.end()}; }

namespace artwork_bytes {
std::vector<unsigned char> PageTurn() {
  std::ifstream in(RADADED_SOURCE_DIR "/demo/assets/page_turn.ico", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
}  // namespace artwork_bytes

int ErrorOf(const std::vector<unsigned char>& bytes) {
  try {
    tk::DecodePicture(bytes, "x");
  } catch (const tk::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// A real 3 x 2 picture in a format, written by SDL_image or SDL.
std::vector<unsigned char> Encode(const char* format) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 10, 200, 30));
  const auto path = std::filesystem::temp_directory_path() / (std::string("radaded_pic.") + format);
  if (std::string(format) == "bmp") SDL_SaveBMP(s, path.c_str());
  if (std::string(format) == "png") IMG_SavePNG(s, path.c_str());
  if (std::string(format) == "jpg") IMG_SaveJPG(s, path.c_str(), 90);
  SDL_FreeSurface(s);
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> out((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove(path);
  return out;
}

TEST(PictureLoader, DecodesEachFormatByItsOwnBytes) {
  for (const char* f : {"bmp", "png", "jpg"}) {
    const auto bytes = Encode(f);
    ASSERT_FALSE(bytes.empty()) << f;
    const tk::Picture p = tk::DecodePicture(bytes, f);
    ASSERT_TRUE(p) << f;
    EXPECT_EQ(p->width, 3) << f;
    EXPECT_EQ(p->height, 2) << f;
  }
  const tk::Picture gif = tk::DecodePicture(
      Bytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,
             2, 2, 0x44, 0x01, 0, 0x3B}),
      "gif");
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->argb[0], 0xFFFF0000u);
  EXPECT_EQ(tk::DecodeBuiltInPicture(artwork_bytes::PageTurn(), "page_turn.ico")->width, 32)
      << "of an icon's images, the 32 x 32 one";
}

TEST(PictureLoader, AnythingElseIsAnInvalidPicture) {
  auto bmp = Encode("bmp");
  auto png = Encode("png");
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
  };
  auto huge_png = png;
  huge_png[16] = 0x7F;  // width 2 billion
  auto cut_bmp = bmp;
  cut_bmp.resize(30);
  auto cut_png = png;
  cut_png.resize(png.size() / 2);
  std::vector<unsigned char> huge_icon(artwork_bytes::PageTurn());
  const std::size_t entry = huge_icon[18] | (huge_icon[19] << 8);  // the first image's offset
  huge_icon[entry + 5] = 0x9C;  // its bitmap header now says 40000 pixels wide
  huge_icon[entry + 9] = 0x9C;  // and 20000 high: 3 GB, were it decoded
  const Case cases[] = {
      {"empty", {}},
      {"text", Bytes({'h', 'e', 'l', 'l', 'o'})},
      {"a GIMP image", Bytes({'g', 'i', 'm', 'p', ' ', 'x', 'c', 'f', ' ', 'f', 'i', 'l', 'e', 0})},
      {"a PCX image", Bytes({0x0A, 5, 1, 8, 0, 0, 0, 0, 10, 0, 10, 0})},
      {"a PNG declaring 2 billion columns", huge_png},
      {"a cut-off BMP", cut_bmp},
      {"a cut-off PNG", cut_png},
      {"an icon whose image header is huge", huge_icon},
      {"a GIF with no image", Bytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B})},
      {"a GIF image of 65535 x 65535", Bytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0,
                                             0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 2, 0x44, 0x01, 0, 0x3B})},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.bytes), tk::kInvalidPicture) << c.what;
}

TEST(PictureLoader, EmptyNameIsTheEmptyPictureAndAMissingFileIsError53) {
  EXPECT_EQ(tk::LoadPicture(""), nullptr);
  try {
    tk::LoadPicture("no such picture.bmp");
    FAIL();
  } catch (const tk::RuntimeError& e) {
    EXPECT_EQ(e.number(), tk::kFileNotFound);
    EXPECT_EQ(e.where(), "no such picture.bmp");
  }
}

}  // namespace
