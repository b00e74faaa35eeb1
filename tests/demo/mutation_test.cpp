// Damaged files, made by mutating good ones with a fixed seed: the picture
// loader and the MIDI check refuse or accept them but never misbehave (the
// tests run under AddressSanitizer), and what the check accepts plays.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <fstream>
#include <random>

#include "demo/script_player.h"
#include "demo/vn_wav.h"
#include "runtime/runtime_error.h"
#include "sound/midi_file_check.h"
#include "sound/sound_system.h"
#include "sound/synthesizer.h"
#include "support/golden.h"
#include "support/story_fixture.h"
#include "toolkit/picture_loader.h"

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

TEST(Mutations, DamagedPicturesAreRefusedOrDecodedNeverMisread) {
  tk::SurfacePtr scene(IMG_Load((kStory + "night.bmp").c_str()));
  tk::SurfacePtr small(SDL_CreateRGBSurfaceWithFormat(0, 24, 16, 32, SDL_PIXELFORMAT_ARGB8888));
  SDL_BlitScaled(scene.get(), nullptr, small.get(), nullptr);
  const std::string png = testing::TempDir() + "m.png", jpg = testing::TempDir() + "m.jpg";
  IMG_SavePNG(small.get(), png.c_str());
  IMG_SaveJPG(small.get(), jpg.c_str(), 80);
  const std::vector<Bytes> seeds = {
      ReadAll(RADADED_SOURCE_DIR "/demo/assets/page_turn.ico"), ReadAll(png), ReadAll(jpg),
      ReadAll(RADADED_SOURCE_DIR "/demo/assets/portrait2.ico"),
      {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 255, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2,
       3, 0x84, 0x1d, 0x05, 0, 0x3B}};
  std::mt19937 rng(2026);
  int decoded = 0;
  for (const Bytes& seed : seeds) {
    ASSERT_FALSE(seed.empty());
    for (int round = 0; round < 200; ++round) {
      try {
        const tk::Picture p = tk::DecodePicture(Mutate(seed, rng), "damaged");
        ASSERT_EQ(p->argb.size(), static_cast<std::size_t>(p->width) * p->height);
        ++decoded;
      } catch (const tk::RuntimeError& e) {
        ASSERT_EQ(e.number(), tk::kInvalidPicture);
      }
    }
  }
  EXPECT_GT(decoded, 0) << "some damage leaves a picture";
}

TEST(Mutations, DamagedTunesThatPassTheCheckPlayOnTheSynthesiser) {
  sound::Synthesizer synth(44100, sound::DefaultSoundFonts(), [] {});
  if (!synth.WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
  std::mt19937 rng(2026);
  std::vector<std::int16_t> buffer(2 * 4096);
  int played = 0;
  for (const char* tune : {"enka.mid", "Zirev.mid"}) {
    const Bytes seed = ReadAll(kStory + tune);
    for (int round = 0; round < 1500; ++round) {
      const Bytes b = Mutate(seed, rng);
      if (!sound::IsWellFormedMidi(b)) continue;
      ASSERT_TRUE(synth.Start(b));
      for (int k = 0; k < 4; ++k) synth.Render(buffer.data(), 4096);
      synth.Stop();
      ++played;
    }
  }
  EXPECT_GT(played, 20);
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
    if (!Run(Module1::PlayScript)) {
      ++reported;
      EXPECT_NE(error->where().find("Rodevez2E.dat"), std::string::npos) << error->where();
    }
    EXPECT_LT(platform.clock.NowMs() - start, 60000) << "a reader turning every page at once finishes quickly";
  }
  EXPECT_GT(reported, 0);
}

TEST(Mutations, DamagedSoundEffectsPlayAtMostAMinuteOrAreSilentlyIgnored) {
  sound::SoundSystem system([] {});
  ASSERT_TRUE(system.audio_open());
  const sound::OutputFormat out = system.output_format();
  const Uint32 minute = 60u * out.rate * out.channels * SDL_AUDIO_BITSIZE(out.format) / 8;
  int played = 0, silent = 0;
  VN_WAV::UseDevice(system.effects());
  const Bytes wav = ReadAll(kStory + "vmdemo3.WAV");
  const std::string path = testing::TempDir() + "damaged.wav";
  std::mt19937 rng(2026);
  for (int round = 0; round < 200; ++round) {
    const Bytes b = Mutate(wav, rng);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    sound::MixerEffectPlayer fresh(system.audio_open(), system.output_format(), system.power());  // no cache between rounds
    VN_WAV::UseDevice(fresh);
    VN_WAV::PlayWav(path);
    fresh.Drain();
    if (Mix_Playing(0)) {
      ++played;
      EXPECT_LE(Mix_GetChunk(0)->alen, minute) << "round " << round;
    } else {
      ++silent;
    }
    Mix_HaltChannel(-1);
  }
  EXPECT_GT(played, 0) << "some damage leaves an effect";
  EXPECT_GT(silent, 0) << "some damage is refused";
  VN_WAV::UseNoDevice();
}

}  // namespace
