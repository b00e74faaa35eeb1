// Sound effects: files written by sox in every encoding the platform plays,
// decoded to the output's format with their length and loudness kept, and the
// hostile ones refused before they can swamp anything.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "runtime/file_reader.h"
#include "sound/effects/effect_decoder.h"
#include "sound/format/wav_check.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
const sound::OutputFormat kOutput{44100, AUDIO_S16SYS, 2};

std::vector<unsigned char> Read(const fs::path& p) { return rt::ReadFile(p, 1 << 26).value_or(std::vector<unsigned char>{}); }

// Samples in the output's own byte order (the machine's, as the device wants).
double Rms(const std::vector<unsigned char>& s16) {
  const std::size_t high = SDL_AUDIO_ISBIGENDIAN(kOutput.format) ? 0 : 1;
  double sum = 0;
  const std::size_t n = s16.size() / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const double v = static_cast<std::int16_t>(s16[2 * i + 1 - high] | (s16[2 * i + high] << 8)) / 32768.0;
    sum += v * v;
  }
  return n ? std::sqrt(sum / n) : 0;
}

TEST(EffectDecoder, EveryEncodingSoxWritesKeepsItsLengthAndLoudness) {
  testing_support::TempDir dir("effects");
  struct Case {
    const char* name;
    const char* options;  // sox's output options
  } const cases[] = {
      {"pcm8", "-e unsigned -b 8"},       {"pcm16", "-e signed -b 16"},      {"pcm24", "-e signed -b 24"},
      {"float32", "-e floating-point -b 32"}, {"float64", "-e floating-point -b 64"}, {"alaw", "-e a-law"},
      {"ulaw", "-e u-law"},               {"ima", "-e ima-adpcm"},           {"msadpcm", "-e ms-adpcm"},
      {"gsm", "-e gsm-full-rate"},        {"rifx", "-e signed -b 16 -B"},    {"stereo", "-e signed -b 16 -c 2"},
      {"six", "-e signed -b 16 -c 6"},
  };
  for (const auto& c : cases) {
    const fs::path file = dir.path() / (std::string(c.name) + ".wav");
    // Half a second of a 440 Hz sine at half loudness, at 8 kHz.
    const std::string command = std::string("sox -n -r 8000 -c 1 ") + c.options + " " + file.string() +
                                " synth 0.5 sine 440 vol 0.5 2>/dev/null";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "sox cannot write " << c.name;
    const auto out = sound::DecodeEffect(Read(file), kOutput);
    ASSERT_TRUE(out) << c.name;
    const double seconds = out->size() / 4.0 / kOutput.rate;
    // GSM is lossy and pads its last block of 320 samples.
    const double slack = std::string(c.name) == "gsm" ? 0.07 : 0.02;
    EXPECT_NEAR(seconds, 0.5, slack) << c.name;
    EXPECT_NEAR(Rms(*out), 0.5 / std::sqrt(2.0), slack) << c.name;
  }
}

TEST(EffectDecoder, RegressionFilesAreRefusedOrPlayed) {
  for (const auto& e : fs::directory_iterator(RADADED_SOURCE_DIR "/tests/regressions/wav")) {
    const std::string name = e.path().filename().string();
    EXPECT_EQ(sound::DecodeEffect(Read(e.path()), kOutput).has_value(), name.starts_with("ok-")) << name;
  }
}

TEST(WavCheck, RefusesWhatWouldSwampTheProgram) {
  // A valid 16-bit mono file at 22050 Hz whose fields are then spoiled one by one.
  const auto good = Read(RADADED_SOURCE_DIR "/tests/regressions/wav/ok-pcm16.wav");
  ASSERT_TRUE(sound::CheckWav(good));
  struct Case {
    const char* what;
    std::size_t at;
    std::vector<unsigned char> bytes;
  } const cases[] = {
      {"an unknown encoding", 20, {0x55, 0}},
      {"no channels", 22, {0, 0}},
      {"nine channels", 22, {9, 0}},
      {"3999 Hz", 24, {0x9F, 0x0F, 0, 0}},
      {"192001 Hz", 24, {0x01, 0xEE, 0x02, 0}},
      {"12 bits", 34, {12, 0}},
      {"a data chunk past the end", 40, {0xC9, 0, 0, 0}},
      {"a fmt chunk past the end", 16, {0xFF, 0xFF, 0, 0}},
  };
  for (const auto& c : cases) {
    auto bad = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(c.at));
    EXPECT_FALSE(sound::CheckWav(bad)) << c.what;
  }
  // A chunk of odd length is followed by a pad byte, as editors write a LIST
  // chunk of tags before the data; the data after it is found and decoded.
  using testing_support::Bytes;
  const Bytes fmt({good.begin() + 12, good.begin() + 36}), data({good.begin() + 36, good.end()});
  const auto tagged = testing_support::Riff("WAVE", fmt + testing_support::RiffChunk("LIST", Bytes().Text("abc")) + data).vec();
  EXPECT_TRUE(sound::CheckWav(tagged));
  const auto decoded = sound::DecodeEffect(tagged, kOutput);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->size(), sound::DecodeEffect(good, kOutput)->size());
}

}  // namespace
