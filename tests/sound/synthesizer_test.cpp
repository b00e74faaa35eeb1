// Tunes synthesised once: the same samples on every pass, the end at the last
// event, the tail after it, silence at once on a stop; the cache keyed by
// contents and bounded in bytes; real files never clipped.
#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "runtime/file_reader.h"
#include "sound/music/fluid_ptrs.h"
#include "sound/format/midi_file.h"
#include "sound/music/peak_limiter.h"
#include "sound/music/reverb_tail.h"
#include "sound/music/soundfont_loader.h"
#include "sound/music/synthesizer.h"
#include "sound/music/tune_cache.h"
#include "support/sound_files.h"

namespace {

using Bytes = std::vector<unsigned char>;
using testing_support::MidiHeader, testing_support::MidiTrack;
constexpr int kRate = 44100, kBlock = 1024;
const Bytes kNote = testing_support::OrganNoteTune();

struct Pass {
  std::vector<std::int16_t> samples;
  long end_frame = -1;  // where Busy turned false
};

// Pumps the audio callback until the music has nothing more to sound.
Pass Play(sound::Synthesizer& synth) {
  Pass pass;
  std::vector<std::int16_t> block(2 * kBlock);
  for (long frames = 0; frames < 10L * kRate && (synth.Sounding() || synth.Busy()); frames += kBlock) {
    synth.WaitUntilRendered();
    synth.Render(block.data(), kBlock);
    pass.samples.insert(pass.samples.end(), block.begin(), block.end());
    if (pass.end_frame < 0 && !synth.Busy()) pass.end_frame = frames + kBlock;
  }
  return pass;
}

double Peak(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::abs(int(s[i])));
  return peak / 32768.0;
}

// A tune started while the SoundFont loads is heard once it has loaded; it is
// rendered once, kept by its contents, and every pass plays the same samples;
// a stop silences it at once.
TEST(Synthesizer, RendersATuneOnceAndPlaysTheSameSamplesEveryPassAndStopsAtOnce) {
  sound::Synthesizer synth(kRate, sound::DefaultSoundFonts(), [] {});
  ASSERT_TRUE(synth.Start(kNote));  // at once: the SoundFont takes tens of milliseconds
  EXPECT_TRUE(synth.Busy());
  if (!synth.WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
  const Pass first = Play(synth);
  const std::size_t cached = synth.cached_bytes();
  EXPECT_GT(cached, 0u);
  EXPECT_LE(cached, first.samples.size() * sizeof(std::int16_t) + kNote.size())
      << "a complete tune counts what it holds, not the room it was given";
  const Bytes copy = kNote;  // the same tune from another file: found by its contents
  ASSERT_TRUE(synth.Start(copy));
  const Pass second = Play(synth);
  EXPECT_EQ(synth.cached_bytes(), cached) << "the second pass is not rendered again";
  EXPECT_EQ(first.samples, second.samples);
  // The end is the last event, half a second in, to within a block.
  EXPECT_NEAR(first.end_frame, kRate / 2, kBlock);
  EXPECT_GT(Peak(first.samples, 0, kRate), 0.01) << "the note is heard";
  EXPECT_GT(Peak(first.samples, 2 * (kRate / 2 + 2 * kBlock), 2 * kRate), 0.0001) << "its tail rings after the end";
  // A stop silences at once, and the tune plays again after it.
  std::vector<std::int16_t> block(2 * kBlock);
  ASSERT_TRUE(synth.Start(kNote));
  synth.WaitUntilRendered();
  for (int k = 0; k < 4; ++k) synth.Render(block.data(), kBlock);
  EXPECT_GT(Peak(block, 0, block.size()), 0.01);
  synth.Stop();
  EXPECT_FALSE(synth.Busy());
  synth.Render(block.data(), kBlock);
  EXPECT_EQ(Peak(block, 0, block.size()), 0.0) << "silent straight after a stop";
  ASSERT_TRUE(synth.Start(kNote));
  EXPECT_TRUE(synth.Busy());
}

TEST(Synthesizer, ATuneStoppedWhileTheSoundFontLoadsIsNeverHeard) {
  sound::Synthesizer synth(kRate, sound::DefaultSoundFonts(), [] {});
  ASSERT_TRUE(synth.Start(kNote));
  synth.Stop();
  if (!synth.WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
  EXPECT_FALSE(synth.Busy());
  std::vector<std::int16_t> block(2 * kBlock);
  synth.Render(block.data(), kBlock);
  EXPECT_EQ(Peak(block, 0, block.size()), 0.0);
}

// A tune too long to keep (here: every tune) is synthesised as it plays, and
// ends as a stored one does: its end is signalled at its last event, and its
// tail dies away.
TEST(Synthesizer, ATuneTooLongToKeepIsSynthesisedAsItPlaysAndEnds) {
  std::atomic<int> ends = 0;
  sound::Synthesizer synth(kRate, sound::DefaultSoundFonts(), [&] { ++ends; }, 0);
  if (!synth.WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
  ASSERT_TRUE(synth.Start(kNote));
  const Pass pass = Play(synth);
  EXPECT_EQ(synth.cached_bytes(), 0u) << "nothing of it kept";
  EXPECT_GT(Peak(pass.samples, 0, kRate), 0.01) << "heard from its first blocks";
  EXPECT_NEAR(pass.end_frame, kRate / 2, kBlock);
  EXPECT_EQ(ends, 1) << "its end is signalled once";
  EXPECT_FALSE(synth.Sounding()) << "its tail has died away";
  EXPECT_LT(pass.samples.size(), 2u * 4 * kRate);
}

// Real General MIDI files from Debian's packages (openttd-openmsx,
// planetblupi-music-midi), the loudest of which stack voices past full scale,
// and the demo's own tunes: the first 5 s of each as the synthesiser's
// settings and its limiter make them. None clips, and the demo's tunes keep a
// healthy level.
TEST(Synthesizer, RealFilesNeverClipAndTheDemosTunesStayLoud) {
  const auto loaded = sound::LoadSoundFont(kRate, sound::DefaultSoundFonts());
  if (!loaded) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
  std::vector<std::filesystem::path> files;
  for (const char* dir : {"/usr/share/games/openttd/baseset/openmsx", "/usr/share/planetblupi/music",
                          RADADED_SOURCE_DIR "/story"}) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
      if (e.path().extension() == ".mid") files.push_back(e.path());
  }
  ASSERT_GE(files.size(), 41u + 6u) << "tools/install-deps.sh installs the packages";
  std::vector<float> block(2 * kBlock);
  std::vector<std::int16_t> out(2 * kBlock);
  for (const auto& path : files) {
    const auto tune = sound::NormaliseMidi(rt::ReadFile(path, 1 << 24).value());
    ASSERT_TRUE(tune) << path;
    fluid_synth_t* synth = loaded->synth.get();
    sound::FluidPlayerPtr player(new_fluid_player(synth));
    fluid_player_add_mem(player.get(), tune->data(), tune->size());
    fluid_player_play(player.get());
    sound::PeakLimiter limiter(kRate);
    long clipped = 0;
    double sum = 0;
    for (int frames = 0; frames < 5 * kRate; frames += kBlock) {
      fluid_synth_write_float(synth, kBlock, block.data(), 0, 2, block.data(), 1, 2);
      limiter.Convert(block.data(), kBlock, out.data());
      for (const int v : out) clipped += std::abs(v) >= 32767, sum += double(v) * v;
    }
    player.reset();
    fluid_synth_system_reset(synth);
    EXPECT_EQ(clipped, 0) << path;
    const double rms_db = 10 * std::log10(sum / (10.0 * kRate) / (32768.0 * 32768.0));
    if (path.string().starts_with(RADADED_SOURCE_DIR)) {
      EXPECT_GT(rms_db, -31.0) << path;
    }
  }
}

TEST(TuneCache, KeepsTheMostRecentlyUsedWithinItsBytes) {
  sound::TuneCache cache(10000);  // room for two tunes of 3997 bytes, not three
  const auto tune = [](char c) { return std::make_shared<sound::RenderedTune>(Bytes{static_cast<unsigned char>(c)}, 999); };
  auto a = tune('a'), b = tune('b'), c = tune('c'), d = tune('d');  // 3996 bytes of samples each, 1 of tune
  cache.Add(a), cache.Add(b);
  EXPECT_EQ(cache.Find(Bytes{'a'}), a);  // a is now the most recent
  cache.Add(c);                          // b, the least recent, goes
  EXPECT_EQ(cache.Find(Bytes{'b'}), nullptr);
  EXPECT_EQ(cache.Find(Bytes{'c'}), c);
  cache.Add(d);
  EXPECT_EQ(cache.Find(Bytes{'a'}), nullptr);
  EXPECT_LE(cache.bytes(), cache.max_bytes());
  const auto big = std::make_shared<sound::RenderedTune>(Bytes{'e'}, 4000);
  cache.Add(big);
  EXPECT_EQ(cache.Find(Bytes{'e'}), big) << "the tune playing stays, though it alone is over the bound";
}

// The length of a tune is its longest track's, with every tempo change.
TEST(MidiLength, FollowsEveryTempoChangeToTheLastEventOfTheLongestTrack) {
  const struct {
    const char* what;
    Bytes file;
    double seconds;
  } cases[] = {
      // 480 ticks a beat: 960 ticks at 120 beats a minute (1 s), then a tempo
      // of 60 from tick 960 and a last event at tick 1440 (1 s more).
      {"tempo changes",
       MidiHeader(0) + MidiTrack({0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20, 0x87, 0x40, 0xff, 0x51, 0x03, 0x0f, 0x42,
                                  0x40, 0x83, 0x60, 0xff, 0x2f, 0x00}),
       2.0},
      // Time code: 25 frames a second of 40 ticks each, a last event at tick 1500.
      {"time code",
       MidiHeader(0, 1, 0xe728) + MidiTrack({0x00, 0x90, 0x3c, 0x64, 0x8b, 0x5c, 0x80, 0x3c, 0x00, 0x00, 0xff, 0x2f, 0x00}),
       1.5},
      // Two tracks: the first ends at tick 1440 (1.5 s), the last at tick 480.
      {"the longest track first",
       MidiHeader(1, 2) + MidiTrack({0x00, 0x90, 0x3c, 0x64, 0x8b, 0x20, 0x80, 0x3c, 0x00, 0x00, 0xff, 0x2f, 0x00}) +
           MidiTrack({0x00, 0x90, 0x3e, 0x64, 0x83, 0x60, 0x80, 0x3e, 0x00, 0x00, 0xff, 0x2f, 0x00}),
       1.5},
  };
  for (const auto& c : cases) {
    const auto normalised = sound::NormaliseMidi(c.file);
    ASSERT_TRUE(normalised) << c.what;
    EXPECT_NEAR(sound::MidiSeconds(*normalised), c.seconds, 1e-9) << c.what;
  }
}

// A tune's tail: while a voice sounds it goes on however quiet; once the
// voices have ended, until the reverb is below -78 dB or for 3 s at most.
TEST(ReverbTail, EndsOnlyOnceTheVoicesHaveEndedAndTheReverbHasDiedAway) {
  const std::vector<std::int16_t> quiet(2 * kBlock, 4), loud(2 * kBlock, 300);
  const struct {
    const char* what;
    bool voices;
    const std::vector<std::int16_t>& block;
    double seconds;  // how long it has rung already
    bool over;
  } cases[] = {
      {"a voice still sounds, quietly", true, quiet, 10, false},
      {"no voice, the reverb still loud", false, loud, 2.9, false},
      {"no voice, the reverb loud for 3 s", false, loud, 3.1, true},
      {"no voice, the reverb below -78 dB", false, quiet, 0, true},
  };
  for (const auto& c : cases) {
    sound::ReverbTail tail(kRate);
    bool over = false;
    for (long frames = 0; frames < c.seconds * kRate && !over; frames += kBlock) over = tail.Over(loud.data(), kBlock, false);
    EXPECT_FALSE(over && c.seconds < 3) << c.what;
    EXPECT_EQ(tail.Over(c.block.data(), kBlock, c.voices), c.over) << c.what;
  }
}

// After a loud chord the limiter turns the level down at once, and brings it
// back to full over the next second and a half.
TEST(PeakLimiter, TurnsALoudPeakDownAndComesBack) {
  sound::PeakLimiter limiter(kRate);
  std::vector<float> chord(2 * kBlock, 3.0f), soft(2 * kBlock, 0.1f);
  std::vector<std::int16_t> out(2 * kBlock);
  limiter.Convert(chord.data(), kBlock, out.data());
  EXPECT_LE(*std::max_element(out.begin(), out.end()), 32000);
  EXPECT_LT(limiter.gain(), 0.5f);
  for (int k = 0; k < 3 * kRate / 2 / kBlock; ++k) limiter.Convert(soft.data(), kBlock, out.data());
  EXPECT_GT(limiter.gain(), 0.99f);
  EXPECT_NEAR(out.back(), 0.1 * 32768, 40);
}

}  // namespace
