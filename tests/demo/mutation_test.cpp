// Damaged files, made by mutating good ones with a fixed seed: a damaged
// script ends or is reported, a damaged effect plays at most a minute or is
// silent. (Damaged pictures and tunes: the regression files and the fuzzers.)
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <fstream>
#include <random>

#include "demo/script_player.h"
#include "demo/vn_wav.h"
#include "sound/output/audio_output.h"
#include "sound/sound_system.h"
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

TEST(Mutations, DamagedSoundEffectsPlayAtMostAMinuteOrAreSilentlyIgnored) {
  sound::SoundSystem system([] {});
  ASSERT_TRUE(system.audio_open());
  const sound::OutputFormat out = system.output()->format();
  const Uint32 minute = 60u * out.rate * out.channels * SDL_AUDIO_BITSIZE(out.format) / 8;
  int played = 0, silent = 0;
  VN_WAV::UseDevice(system.effects());
  const Bytes wav = ReadAll(kStory + "vmdemo3.WAV");
  const std::string path = testing::TempDir() + "damaged.wav";
  std::mt19937 rng(2026);
  for (int round = 0; round < 200; ++round) {
    const Bytes b = Mutate(wav, rng);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    sound::MixerEffectPlayer fresh(system.output());  // no cache between rounds
    VN_WAV::UseDevice(fresh);
    VN_WAV::PlayWav(path);
    fresh.Drain();
    Uint32 length = 0;  // of the effect playing, if any
    system.output()->IfAwake([&] {
      if (Mix_Playing(0)) length = Mix_GetChunk(0)->alen;
    });
    if (length) {
      ++played;
      EXPECT_LE(length, minute) << "round " << round;
    } else {
      ++silent;
    }
  }
  EXPECT_GT(played, 0) << "some damage leaves an effect";
  EXPECT_GT(silent, 0) << "some damage is refused";
  VN_WAV::UseNoDevice();
}

}  // namespace
