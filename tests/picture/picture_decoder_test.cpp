// The picture readers against readers nobody here wrote (PIL, and the GIF
// test suite's expected pixels), damaged files from Debian's packages and
// from our own regressions decoded through the helper process, the format
// checks that refuse files before any decoder sees them, and the helper
// process itself.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/byte_reader.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
const fs::path kGdkImages = "/usr/libexec/installed-tests/gdk-pixbuf/test-images";

std::vector<unsigned char> Read(const fs::path& p) { return rt::ReadFile(p, 1 << 26).value_or(std::vector<unsigned char>{}); }

// Compares with RGBA bytes, allowing one step of rounding; pixels that both
// sides leave fully transparent match whatever their colour.
::testing::AssertionResult SamePixels(const pic::PictureData& p, int w, int h, const unsigned char* rgba) {
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

TEST(PictureReaders, AgreeWithPilAndTheGifTestSuiteOnMadeAndRealFiles) {
  testing_support::TempDir dir("oracle");
  const std::string command = "/usr/bin/python3 " RADADED_SOURCE_DIR "/tests/oracle/pil_pictures.py " + dir.path().string();
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "no PIL (python3-pil)";
  std::ifstream listing(dir.path() / "list.tsv");
  int compared = 0, icons = 0, gifs = 0;
  for (std::string line; std::getline(listing, line);) {
    const auto tab = line.find('\t');
    const std::string file = line.substr(0, tab), expected = line.substr(tab + 1);
    const auto decoded = pic::DecodePictureBytes(Read(file));
    if (expected == "-") continue;  // PIL cannot read it; ours may refuse it or not
    const auto e = Read(expected);
    if (!pic::AcceptablePictureSize(rt::Le32(e, 0), rt::Le32(e, 4))) {
      EXPECT_FALSE(decoded) << file << " is larger than any picture accepted";
      continue;
    }
    ASSERT_TRUE(decoded) << file;
    EXPECT_TRUE(SamePixels(*decoded, rt::Le32(e, 0), rt::Le32(e, 4), e.data() + 8)) << file;
    ++compared;
    icons += file.ends_with(".ico");
    gifs += file.ends_with(".gif");
  }
  EXPECT_GT(compared, 100);
  EXPECT_GT(gifs, 40) << "the GIF test suite's files, as it expects them";
  EXPECT_GE(icons, 5) << "icons are compared too, ours and the real ones";
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
    const bool decoded = pic::DecodeInHelper(Read(file)).has_value();
    const std::string name = file.filename().string();
    if (name.starts_with("refused-") || name == "hang_114.gif") {
      EXPECT_FALSE(decoded) << name;
    } else if (name.starts_with("ok-")) {
      EXPECT_TRUE(decoded) << name;
    }
  }
}

using testing_support::Bytes;

// A bitmap header of `header` bytes (40, or 56 with four masks), its masks
// for bit fields, a palette of `colours` grey entries, then `pixels`; in an
// icon the height counts the mask too.
Bytes Dib(std::uint32_t w, std::uint32_t h, int bpp, std::uint32_t colours, const Bytes& pixels,
          std::uint32_t compression = 0, std::vector<std::uint32_t> masks = {}) {
  Bytes b = Bytes().Le32(40 + 4 * masks.size()).Le32(w).Le32(h).Le16(1).Le16(bpp).Le32(compression).Fill(12, 0);
  b.Le32(colours).Le32(0);
  for (std::uint32_t m : masks) b.Le32(m);
  for (std::uint32_t c = 0; c < colours; ++c) b.Add({0x80, 0x80, 0x80, 0});
  return b.Add(pixels);
}

Bytes Bmp(Bytes dib) {
  const std::uint32_t pixels_at = 14 + dib[0] + 4 * (dib[32] | dib[33] << 8);
  return Bytes().Text("BM").Le32(14 + dib.size()).Le32(0).Le32(pixels_at).Add(dib);
}

TEST(PictureReaders, HandBuiltBitmapsNoOracleWrites) {
  // One 32-bit entry 256 pixels wide (the largest an icon holds), its bitmap
  // stacked over its mask: 512 high.
  const Bytes entry = Dib(256, 512, 32, 0, Bytes().Fill(256 * 256 * 4 + 256 * 32, 0xFF));
  const Bytes ico = Bytes({0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0}).Le32(entry.size()).Le32(22).Add(entry);
  const std::vector<std::uint32_t> argb = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  const auto jpeg = Read(RADADED_SOURCE_DIR "/story/cafe.jpg");
  const Bytes cut_jpeg(std::vector<unsigned char>(jpeg.begin(), jpeg.begin() + 3000));
  const struct Case {
    const char* what;
    Bytes bytes;
    int width;                // 0: refused
    std::uint32_t first = 0;  // its first pixel, ARGB
  } cases[] = {
      {"16-bit, 0x7C00 is pure red (5-5-5)", Bmp(Dib(1, 1, 16, 0, {0x00, 0x7C, 0, 0})), 1, 0xFFFF0000},
      {"16-bit, 16 of 31 is 132 of 255", Bmp(Dib(1, 1, 16, 0, {0x10, 0x42, 0, 0})), 1, 0xFF848484},
      {"8-bit with 256 colours", Bmp(Dib(1, 1, 8, 256, {0, 0, 0, 0})), 1, 0xFF808080},
      {"8-bit with 257 colours", Bmp(Dib(1, 1, 8, 257, {0, 0, 0, 0})), 0},
      {"32-bit bit fields, alpha zero everywhere: opaque", Bmp(Dib(2, 1, 32, 0, Bytes().Le32(0x123456).Le32(0), 3, argb)),
       2, 0xFF123456},
      {"32-bit bit fields with some alpha", Bmp(Dib(2, 1, 32, 0, Bytes().Le32(0x80123456).Le32(0), 3, argb)), 2,
       0x80123456},
      {"an icon 256 wide", ico, 256, 0xFFFFFFFF},
      // Cut short: refused as a PNG or GIF cut short is, but for the padding
      // of the last row, which writers leave out.
      {"24-bit, the last row's padding missing", Bmp(Dib(1, 2, 24, 0, {1, 2, 3, 0, 4, 5, 6})), 1, 0xFF060504},
      {"24-bit, a row's pixels missing", Bmp(Dib(1, 2, 24, 0, {1, 2, 3, 0, 4, 5})), 0},
      {"run-length, no end code after the last row", Bmp(Dib(2, 2, 8, 2, {2, 1, 0, 0, 2, 1}, 1)), 2, 0xFF808080},
      {"run-length, ending before the last row", Bmp(Dib(2, 2, 8, 2, {2, 1}, 1)), 0},
      {"a JPEG cut short", cut_jpeg, 0},
  };
  for (const auto& c : cases) {
    const auto p = pic::DecodePictureBytes(c.bytes.vec());
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
  for (const auto& c : cases)
    EXPECT_EQ(pic::PassesPictureChecks(Bmp(Dib(c.w, c.h, 24, 0, {})).vec()), c.accepted) << c.w << "x" << c.h;
}

TEST(PictureChecks, AnythingElseIsRefusedBeforeADecoderSeesIt) {
  Bytes huge_icon = Read(RADADED_SOURCE_DIR "/demo/assets/page_turn.ico");
  const auto icon = pic::DecodePictureBytes(huge_icon.vec());
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 32) << "of an icon's images, the 32 x 32 one";
  const std::size_t entry = huge_icon[18] | (huge_icon[19] << 8);  // the first image's offset
  huge_icon[entry + 5] = 0x9C;  // its bitmap header now says 40000 pixels wide
  huge_icon[entry + 9] = 0x9C;  // and 20000 high: 3 GB, were it decoded
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"text", Bytes().Text("hello")},
      {"a cut-off BMP", Bytes().Text("BM").Le32(54).Le32(0).Le32(54).Le32(40).Le32(1)},
      {"an icon whose image header is huge", huge_icon},
      {"a GIF with no image", Bytes().Text("GIF89a").Le16(1).Le16(1).Fill(3, 0).U8(0x3B)},
  };
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(pic::DecodeInHelper(bytes.vec())) << what << " gave a picture";
}

// A helper that starts and then fails (a crash, a hang, garbage on its
// output) costs the picture it was given, within seconds, and never this
// process; a helper that cannot be started is reported as what it is, naming
// the helper.
TEST(DecoderProcess, AFailingHelperCostsThePictureOneThatCannotStartIsNamed) {
  testing_support::TempDir dir("helper");
  const auto script = [&](const char* name, const char* body, fs::perms perms = fs::perms::owner_all) {
    const fs::path p = dir.path() / name;
    std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(p, perms);
    return p.string();
  };
  struct Case {
    std::string helper;
    int error;  // 0: no picture
  } const cases[] = {
      {script("crash", "kill -SEGV $$"), 0},
      {script("hang", "exec sleep 60"), 0},
      {script("garbage", "echo RDP1garbage"), 0},
      {(dir.path() / "missing").string(), rt::kFileNotFound},
      {script("not-executable", "exit 0", fs::perms::owner_read | fs::perms::owner_write), rt::kPathFileAccessError},
      {dir.path().string(), rt::kPathFileAccessError},  // a folder
  };
  const std::string real = pic::PictureDecoderPath();
  const auto png = rt::ReadFile(RADADED_SOURCE_DIR "/tests/regressions/picture/ok-png-1x1.png", 1 << 20).value();
  for (const Case& c : cases) {
    pic::SetPictureDecoderPath(c.helper);
    const auto start = std::chrono::steady_clock::now();
    try {
      EXPECT_FALSE(pic::DecodeInHelper(png)) << c.helper << " gave a picture";
      EXPECT_EQ(c.error, 0) << c.helper << " raised no error";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.error) << c.helper;
      EXPECT_EQ(e.where(), c.helper);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.helper;
  }
  pic::SetPictureDecoderPath(real);
  EXPECT_TRUE(pic::DecodeInHelper(png));
}

}  // namespace
