// The picture loader: the empty name, a missing file, and bytes that are no
// picture (or too large a one) refused before any decoder sees them.
#include <gtest/gtest.h>

#include "runtime/file_names.h"
#include "runtime/runtime_error.h"
#include "toolkit/picture_loader.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(PictureLoader, AnythingElseIsAnInvalidPicture) {
  Bytes huge_icon = tk::ReadFile(RADADED_SOURCE_DIR "/demo/assets/page_turn.ico", 1 << 20).value();
  EXPECT_EQ(tk::DecodeBuiltInPicture(huge_icon, "page_turn.ico")->width, 32) << "of an icon's images, the 32 x 32 one";
  const std::size_t entry = huge_icon[18] | (huge_icon[19] << 8);  // the first image's offset
  huge_icon[entry + 5] = 0x9C;  // its bitmap header now says 40000 pixels wide
  huge_icon[entry + 9] = 0x9C;  // and 20000 high: 3 GB, were it decoded
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"a GIMP image", {'g', 'i', 'm', 'p', ' ', 'x', 'c', 'f', ' ', 'f', 'i', 'l', 'e', 0}},
      {"a PCX image", {0x0A, 5, 1, 8, 0, 0, 0, 0, 10, 0, 10, 0}},
      {"a cut-off BMP", {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0, 1, 0, 0, 0}},
      {"an icon whose image header is huge", huge_icon},
      {"a GIF with no image", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}},
  };
  for (const auto& [what, bytes] : cases) {
    try {
      tk::DecodePicture(bytes, what);
      ADD_FAILURE() << what << " gave a picture";
    } catch (const tk::RuntimeError& e) {
      EXPECT_EQ(e.number(), tk::kInvalidPicture) << what;
    }
  }
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
