// The helper process: whatever becomes of a helper (a crash, a hang, garbage
// on its output) costs the picture it was given, within seconds, and never
// this process.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "picture/decoder_process.h"
#include "runtime/file_names.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(DecoderProcess, AHelperThatCrashesHangsOrIsMissingGivesNoPicture) {
  testing_support::TempDir dir("helper");
  const auto script = [&](const char* name, const char* body) {
    const fs::path p = dir.path() / name;
    std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(p, fs::perms::owner_all);
    return p.string();
  };
  const std::string real = tk::PictureDecoderPath();
  const auto png = tk::ReadFile(RADADED_SOURCE_DIR "/tests/regressions/picture/ok-png-1x1.png", 1 << 20).value();
  for (const std::string& helper : {script("crash", "kill -SEGV $$"), script("hang", "exec sleep 60"),
                                   script("garbage", "echo RDP1garbage"), (dir.path() / "missing").string()}) {
    tk::SetPictureDecoderPath(helper);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(tk::DecodeInHelper(png)) << helper << " gave a picture";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << helper;
  }
  tk::SetPictureDecoderPath(real);
  EXPECT_TRUE(tk::DecodeInHelper(png));
}

}  // namespace
