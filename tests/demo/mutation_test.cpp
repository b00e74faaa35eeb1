// Damaged scripts, made by mutating the demo's with a fixed seed: each ends or
// is reported. (Damaged pictures, tunes and effects: the regression files,
// the sound layer's checks and the fuzzers.)
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "demo/script_player.h"
#include "support/story_fixture.h"

namespace {

using Bytes = std::vector<unsigned char>;
const std::string kStory = RADADED_SOURCE_DIR "/story/";

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A copy with a few bytes changed, flipped, or the rest cut off.
Bytes Mutate(Bytes b, std::mt19937& rng) {
  for (int e = 0, n = 1 + rng() % 6; e < n && !b.empty(); ++e) {
    const std::size_t at = rng() % b.size();
    switch (rng() % 3) {
      case 0: b[at] = static_cast<unsigned char>(rng()); break;
      case 1: b[at] ^= static_cast<unsigned char>(1 << (rng() % 8)); break;
      case 2: b.resize(at + 1); break;
    }
  }
  return b;
}

using DamagedStory = testing_support::StoryFixture;

TEST_F(DamagedStory, AScriptDamagedAnyHowEndsOrIsReportedNeverHangs) {
  const Bytes script = ReadAll(kStory + "Rodevez2E.dat");
  for (const char* picture : {"office.bmp", "rooftop.bmp", "night.bmp"}) {
    const Bytes b = ReadAll(kStory + picture);
    WriteFile(picture, std::string(b.begin(), b.end()));
  }
  std::mt19937 rng(2026);
  int reported = 0;
  for (int round = 0; round < 150; ++round) {
    const Bytes b = Mutate(script, rng);
    WriteFile("Rodevez2E.dat", std::string(b.begin(), b.end()));
    const std::int64_t start = platform.clock.NowMs();
    if (!Run(Module1::PlayScript)) ++reported;
    EXPECT_LT(platform.clock.NowMs() - start, 60000) << "a reader turning every page at once finishes quickly";
  }
  EXPECT_GT(reported, 0);
}

}  // namespace
