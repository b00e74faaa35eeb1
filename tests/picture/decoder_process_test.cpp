// The helper process: whatever becomes of a helper that starts (a crash, a
// hang, garbage on its output) costs the picture it was given, within
// seconds, and never this process; a helper that cannot be started is
// reported as what it is, naming the helper.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "picture/decoder_process.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

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
      {(dir.path() / "missing").string(), tk::kFileNotFound},
      {script("not-executable", "exit 0", fs::perms::owner_read | fs::perms::owner_write), tk::kPathFileAccessError},
      {dir.path().string(), tk::kPathFileAccessError},  // a folder
  };
  const std::string real = tk::PictureDecoderPath();
  const auto png = tk::ReadFile(RADADED_SOURCE_DIR "/tests/regressions/picture/ok-png-1x1.png", 1 << 20).value();
  for (const Case& c : cases) {
    tk::SetPictureDecoderPath(c.helper);
    const auto start = std::chrono::steady_clock::now();
    try {
      EXPECT_FALSE(tk::DecodeInHelper(png)) << c.helper << " gave a picture";
      EXPECT_EQ(c.error, 0) << c.helper << " raised no error";
    } catch (const tk::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.error) << c.helper;
      EXPECT_EQ(e.where(), c.helper);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.helper;
  }
  // Bytes refused by their header are no picture, helper or none.
  EXPECT_FALSE(tk::DecodeInHelper(std::vector<unsigned char>{'B', 'M'}));
  tk::SetPictureDecoderPath(real);
  EXPECT_TRUE(tk::DecodeInHelper(png));
}

}  // namespace
