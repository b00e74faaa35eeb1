// The picture readers against readers nobody here wrote (PIL, and the GIF
// test suite's expected pixels), damaged files from Debian's packages and
// from our own regressions decoded through the helper process, and the
// format checks that refuse files before any decoder sees them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/byte_reader.h"
#include "runtime/file_reader.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
const fs::path kGdkImages = "/usr/libexec/installed-tests/gdk-pixbuf/test-images";

std::vector<unsigned char> Read(const fs::path& p) { return tk::ReadFile(p, 1 << 26).value_or(std::vector<unsigned char>{}); }

// Compares with RGBA bytes, allowing one step of rounding; pixels that both
// sides leave fully transparent match whatever their colour.
::testing::AssertionResult SamePixels(const tk::PictureData& p, int w, int h, const unsigned char* rgba) {
  if (p.width != w || p.height != h)
    return ::testing::AssertionFailure() << "size " << p.width << "x" << p.height << ", expected " << w << "x" << h;
  for (int i = 0; i < w * h; ++i) {
    const std::uint32_t px = p.argb[i];
    const int got[4] = {int(px >> 16 & 255), int(px >> 8 & 255), int(px & 255), int(px >> 24)};
    if (got[3] == 0 && rgba[4 * i + 3] == 0) continue;
    for (int c = 0; c < 4; ++c)
      if (std::abs(got[c] - rgba[4 * i + c]) > 1)
        return ::testing::AssertionFailure() << "pixel " << i % w << "," << i / w << " channel " << c << ": " << got[c]
                                             << ", expected " << int(rgba[4 * i + c]);
  }
  return ::testing::AssertionSuccess();
}

TEST(PictureReaders, AgreeWithPilOnMadeAndRealFiles) {
  testing_support::TempDir dir("oracle");
  const std::string command = "/usr/bin/python3 " RADADED_SOURCE_DIR "/tests/oracle/pil_pictures.py " + dir.path().string();
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "no PIL (python3-pil)";
  std::ifstream listing(dir.path() / "list.tsv");
  int compared = 0, icons = 0;
  for (std::string line; std::getline(listing, line);) {
    const auto tab = line.find('\t');
    const std::string file = line.substr(0, tab), expected = line.substr(tab + 1);
    const auto decoded = tk::DecodePictureBytes(Read(file));
    if (expected == "-") continue;  // PIL cannot read it; ours may refuse it or not
    const auto e = Read(expected);
    if (!tk::AcceptablePictureSize(tk::Le32(e, 0), tk::Le32(e, 4))) {
      EXPECT_FALSE(decoded) << file << " is larger than any picture accepted";
      continue;
    }
    ASSERT_TRUE(decoded) << file;
    EXPECT_TRUE(SamePixels(*decoded, tk::Le32(e, 0), tk::Le32(e, 4), e.data() + 8)) << file;
    ++compared;
    icons += file.ends_with(".ico");
  }
  EXPECT_GT(compared, 60);
  EXPECT_GE(icons, 5) << "icons are compared too, ours and the real ones";
}

TEST(PictureReaders, GifFirstFrameAsTheGifTestSuiteExpects) {
  const fs::path suite = kGdkImages / "gif-test-suite";
  if (!fs::exists(suite)) GTEST_SKIP() << "gdk-pixbuf-tests is not installed";
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(suite)) {
    if (entry.path().extension() != ".conf") continue;
    std::map<std::string, std::string> conf;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);)
      if (const auto eq = line.find(" = "); eq != std::string::npos && !conf.contains(line.substr(0, eq)))
        conf[line.substr(0, eq)] = line.substr(eq + 3);
    // Files the suite expects to fail; and some it reads otherwise than PIL and
    // giflib do: a screen with no image, or an empty one cut off after its
    // descriptor (no picture here), several images drawn as one frame (here
    // the first image, as PIL has it), LZW codes over 8 bits (refused).
    static const std::set<std::string> kOtherwise{"no-data.gif",         "max-codes.gif",  "images-overlap.gif",
                                                  "images-combine.gif",  "high-color.gif", "dispose-restore-previous.gif"};
    if (!conf.contains("pixels") || kOtherwise.contains(conf["input"]) || conf["input"].starts_with("image-zero-"))
      continue;
    const auto decoded = tk::DecodePictureBytes(Read(suite / conf["input"]));
    if (!tk::AcceptablePictureSize(std::stoi(conf["width"]), std::stoi(conf["height"]))) {
      EXPECT_FALSE(decoded) << conf["input"] << " is larger than any picture accepted";
      continue;
    }
    ASSERT_TRUE(decoded) << conf["input"];
    const auto rgba = Read(suite / conf["pixels"]);
    EXPECT_TRUE(SamePixels(*decoded, std::stoi(conf["width"]), std::stoi(conf["height"]), rgba.data())) << conf["input"];
    ++compared;
  }
  EXPECT_GT(compared, 40);
}

TEST(PictureReaders, DamagedFilesAreDecodedOrRefusedNeverFatal) {
  std::vector<fs::path> files;
  for (const char* dir : {"fail", "randomly-modified"})
    if (fs::exists(kGdkImages / dir))
      for (const auto& e : fs::directory_iterator(kGdkImages / dir)) files.push_back(e.path());
  for (const auto& e : fs::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/picture")) files.push_back(e.path());
  // The rest may be decoded or refused: what counts is that the helper, not
  // this process, meets whatever they do to a decoder.
  for (const auto& file : files) {
    const bool decoded = tk::DecodeInHelper(Read(file)).has_value();
    const std::string name = file.filename().string();
    if (name.starts_with("refused-") || name == "hang_114.gif") {
      EXPECT_FALSE(decoded) << name;
    } else if (name.starts_with("ok-")) {
      EXPECT_TRUE(decoded) << name;
    }
  }
}

// A BMP header alone, declaring a picture of w x h.
std::vector<unsigned char> BmpHeader(std::uint32_t w, std::uint32_t h) {
  std::vector<unsigned char> b(54, 0);
  b[0] = 'B', b[1] = 'M', b[14] = 40, b[26] = 1, b[28] = 24;
  for (int k = 0; k < 4; ++k) b[18 + k] = (w >> (8 * k)) & 255, b[22 + k] = (h >> (8 * k)) & 255;
  return b;
}

// A bitmap header and palette (`colours` grey entries), then `pixels`; in an
// icon the height counts the mask too.
std::vector<unsigned char> Dib(std::uint32_t w, std::uint32_t h, int bpp, std::uint32_t colours,
                               const std::vector<unsigned char>& pixels) {
  std::vector<unsigned char> b(40, 0);
  const auto put = [&b](std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = (v >> (8 * k)) & 255;
  };
  put(0, 40), put(4, w), put(8, h), b[12] = 1, b[14] = static_cast<unsigned char>(bpp), put(32, colours);
  for (std::uint32_t c = 0; c < colours; ++c) b.insert(b.end(), {0x80, 0x80, 0x80, 0});
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

std::vector<unsigned char> Bmp(const std::vector<unsigned char>& dib) {
  std::vector<unsigned char> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::uint32_t offset = 14 + 40 + (dib[32] | dib[33] << 8) * 4;
  for (int k = 0; k < 4; ++k) b[10 + k] = (offset >> (8 * k)) & 255;
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

TEST(PictureReaders, HandBuiltBitmapsNoOracleWrites) {
  // One 32-bit entry 256 pixels wide (the largest an icon holds), its bitmap
  // stacked over its mask: 512 high.
  std::vector<unsigned char> ico = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0};
  const auto entry = Dib(256, 512, 32, 0, std::vector<unsigned char>(256 * 256 * 4 + 256 * 32, 0xFF));
  for (int k = 0; k < 4; ++k) ico[14 + k] = (entry.size() >> (8 * k)) & 255;
  ico.insert(ico.end(), entry.begin(), entry.end());
  const struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    int width;                // 0: refused
    std::uint32_t first = 0;  // its first pixel, ARGB
  } cases[] = {
      {"16-bit, 0x7C00 is pure red (5-5-5)", Bmp(Dib(1, 1, 16, 0, {0x00, 0x7C, 0, 0})), 1, 0xFFFF0000},
      {"16-bit, 16 of 31 is 132 of 255", Bmp(Dib(1, 1, 16, 0, {0x10, 0x42, 0, 0})), 1, 0xFF848484},
      {"8-bit with 256 colours", Bmp(Dib(1, 1, 8, 256, {0, 0, 0, 0})), 1, 0xFF808080},
      {"8-bit with 257 colours", Bmp(Dib(1, 1, 8, 257, {0, 0, 0, 0})), 0},
      {"an icon 256 wide", ico, 256, 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    const auto p = tk::DecodePictureBytes(c.bytes);
    EXPECT_EQ(p ? p->width : 0, c.width) << c.what;
    if (p && c.width) {
      EXPECT_EQ(p->argb[0], c.first) << c.what;
    }
  }
}

TEST(PictureChecks, EachSideAndTheWholeHaveTheirLimits) {
  struct Case {
    std::uint32_t w, h;
    bool accepted;
  } const cases[] = {{4096, 1024, true}, {4096, 1025, false}, {1025, 4096, false}, {4097, 1, false},
                     {1, 4097, false},   {1, 1, true},          {0, 1, false}};
  for (const auto& c : cases) EXPECT_EQ(tk::PassesPictureChecks(BmpHeader(c.w, c.h)), c.accepted) << c.w << "x" << c.h;
}

TEST(PictureChecks, AnythingElseIsRefusedBeforeADecoderSeesIt) {
  using Bytes = std::vector<unsigned char>;
  Bytes huge_icon = Read(RADADED_SOURCE_DIR "/demo/assets/page_turn.ico");
  const auto icon = tk::DecodePictureBytes(huge_icon);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 32) << "of an icon's images, the 32 x 32 one";
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
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(tk::DecodeInHelper(bytes)) << what << " gave a picture";
}

}  // namespace
