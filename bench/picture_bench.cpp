// Prints what decoding a picture in the helper process costs, beside decoding
// the same bytes in this process: the demo's scene pictures and any files
// named on the command line, 50 times each.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/file_reader.h"

int main(int argc, char** argv) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) files.emplace_back(argv[i]);
  if (files.empty())
    for (const char* name : {"office.bmp", "night.bmp", "rooftop.bmp"}) files.push_back(std::string(RADADED_STORY_DIR "/") + name);
  constexpr int kRuns = 50;
  for (const auto& file : files) {
    const auto bytes = rt::ReadFile(file, pic::kMaxPictureFileBytes);
    if (!bytes) {
      std::printf("%s: cannot read\n", file.c_str());
      continue;
    }
    const auto time = [&](auto&& decode) {
      const auto start = Clock::now();
      for (int i = 0; i < kRuns; ++i) decode();
      return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;
    };
    const double helper = time([&] { pic::DecodeInHelper(*bytes); });
    const double here = time([&] { pic::DecodePictureBytes(*bytes); });
    std::printf("%-40s %7zu bytes  helper %6.2f ms  in process %6.2f ms  helper's own cost %6.2f ms\n",
                std::filesystem::path(file).filename().c_str(), bytes->size(), helper, here, helper - here);
  }
}
