// The real back ends: FluidSynth heard through SDL's disk audio driver, the
// MIDI device's file handling, and sound effects that never fail visibly.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <new>
#include <thread>

#include "sound/fluid_midi_device.h"
#include "sound/output/audio_output.h"
#include "sound/sound_opener.h"
#include "sound/sound_system.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testing_support::Bytes;
const Bytes kTune = testing_support::OrganNoteTune();

class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir / "Music"); }
  void Write(const fs::path& name, const std::string& bytes) { std::ofstream(dir / name, std::ios::binary) << bytes; }

  testing_support::TempDir temp{"sound"};
  const fs::path dir = temp.path();
  testing_support::InDirectory here{dir};
};

using MidiDeviceFiles = InTempDir;

TEST_F(MidiDeviceFiles, OpensByTheStorysNameAndRefusesWhatIsNoTune) {
  Write("Music/Tune.MID", kTune.str());
  Write("bad.mid", "MThd garbage");
  const std::pair<std::string, std::string> cases[] = {
      {"Music\\Tune.MID", "stopped"},  // opened (no synthesiser here to play it)
      {"bad.mid", ""},
      {"missing.mid", ""},
      {"Music", ""},  // a folder (names as the story names them: the runtime's file-name tests)
  };
  sound::FluidMidiDevice device(nullptr);
  for (const auto& [path, mode] : cases) {
    device.Open(path);
    device.Play();
    EXPECT_EQ(device.Mode(), mode) << path;
    device.Close();
    EXPECT_EQ(device.Mode(), "") << path;
  }
}

// What the disk audio driver wrote: 16-bit stereo at 44.1 kHz.
std::vector<std::int16_t> Heard(const fs::path& raw) {
  std::ifstream in(raw, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::copy_n(bytes.data(), 2 * samples.size(), reinterpret_cast<char*>(samples.data()));
  return samples;
}

// The RMS level from t0 to t1 seconds.
double Rms(const std::vector<std::int16_t>& s, double t0, double t1) {
  const std::size_t a = static_cast<std::size_t>(t0 * 88200), b = std::min(s.size(), static_cast<std::size_t>(t1 * 88200));
  double sum = 0;
  for (std::size_t i = a; i < b; ++i) sum += double(s[i]) * s[i];
  return b > a ? std::sqrt(sum / (b - a)) / 32768.0 : 0.0;
}

using RealSynthesizer = InTempDir;

// A tune as Windows saved them, wrapped in RIFF, under a name that is no
// ".mid". (Real files of the loudest kind never clip: the synthesiser's tests.)
TEST_F(RealSynthesizer, AnRmidTuneIsHeardEndsAfterItsLastEventAndStopMidiSilencesIt) {
  Write("Tune.rmi", testing_support::Riff("RMID", testing_support::RiffChunk("data", kTune)).str());
  const fs::path raw = dir / "out.raw";
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw.c_str());
  std::atomic<int> ends{0};
  {
    sound::SoundSystem system([&] { ++ends; });
    ASSERT_TRUE(system.audio_open());
    if (!system.synthesizer()->WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
    sound::MidiDevice& midi = system.midi();
    const std::string tune = "Tune.rmi";

    midi.Open(tune);
    midi.Play();
    EXPECT_EQ(midi.Mode(), "playing");
    system.effects().Play("missing.wav");
    system.effects().Drain();
    EXPECT_EQ(midi.Mode(), "playing") << "an effect leaves the music alone";
    for (int i = 0; i < 300 && midi.Mode() == "playing"; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(midi.Mode(), "stopped") << "the tune should have ended";
    EXPECT_EQ(ends.load(), 1);

    midi.Open(tune);
    midi.Play();
    std::this_thread::sleep_for(200ms);
    midi.Close();
    EXPECT_EQ(midi.Mode(), "");
    std::this_thread::sleep_for(500ms);
  }
  const auto heard = Heard(raw);
  const double length = heard.size() / 88200.0;
  double loudest = 0;
  for (double t = 0; t + 0.1 < length; t += 0.05) loudest = std::max(loudest, Rms(heard, t, t + 0.1));
  EXPECT_GT(loudest, 0.01) << "the note is heard";
  // Only the reverb's last ring (about -70 dB) may be left 0.3 s after StopMidi.
  EXPECT_LT(Rms(heard, length - 0.2, length), 0.002) << "silence after StopMidi";
}

// The reader's levels: the music at half is half as loud; at 0, nothing of
// it is made.
TEST_F(RealSynthesizer, TheMusicPlaysAtItsLevel) {
  Write("t.mid", kTune.str());
  double loudest[2] = {};
  for (const int level : {100, 50}) {
    const fs::path raw = dir / ("out" + std::to_string(level) + ".raw");
    testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw.c_str());
    {
      sound::SoundSystem system([] {}, sound::DefaultSoundFonts(), {.music = level});
      if (!system.synthesizer()->WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
      system.midi().Open("t.mid");
      system.midi().Play();
      for (int i = 0; i < 300 && system.midi().Mode() == "playing"; ++i) std::this_thread::sleep_for(10ms);
    }
    const auto heard = Heard(raw);
    for (double t = 0; t + 0.1 < heard.size() / 88200.0; t += 0.05)
      loudest[level == 50] = std::max(loudest[level == 50], Rms(heard, t, t + 0.1));
  }
  EXPECT_NEAR(loudest[1] / loudest[0], 0.5, 0.05) << loudest[0];
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  sound::SoundSystem silent([] {}, sound::DefaultSoundFonts(), {.music = 0, .effects = 0});
  EXPECT_EQ(silent.synthesizer(), nullptr) << "no SoundFont loaded, nothing synthesised";
  silent.midi().Open("t.mid");
  silent.midi().Play();
  EXPECT_NE(silent.midi().Mode(), "playing");
}

TEST_F(RealSynthesizer, NoSoundFontMeansSilenceNotAHang) {
  Write("t.mid", kTune.str());
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  sound::SoundSystem system([] {}, {"/nonexistent/none.sf2"});
  EXPECT_FALSE(system.synthesizer()->WaitUntilLoaded());
  system.midi().Open("t.mid");
  system.midi().Play();
  EXPECT_NE(system.midi().Mode(), "playing");
}

using OpeningSound = InTempDir;

// What is asked while the device is still opening is done, in order, once it
// is open.
TEST_F(OpeningSound, RequestsMadeBeforeTheDeviceIsOpenAreDoneInOrder) {
  Write("t.mid", kTune.str());
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  const std::string tune = (dir / "t.mid").string();
  const struct {
    bool close_first;
    std::string mode;
  } cases[] = {{false, ""}, {true, "stopped"}};
  for (const auto& c : cases) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    sound::SoundOpener opener([released] {
      released.wait();
      return std::make_unique<sound::SoundSystem>([] {}, std::vector<std::string>{"/nonexistent/none.sf2"});
    });
    if (!c.close_first) opener.midi().Open(tune);
    opener.midi().Close();
    if (c.close_first) opener.midi().Open(tune);
    opener.effects().Play("missing.wav");
    release.set_value();
    for (int i = 0; i < 1000 && !opener.opened(); ++i) std::this_thread::sleep_for(2ms);
    ASSERT_TRUE(opener.opened());
    EXPECT_EQ(opener.midi().Mode(), c.mode) << (c.close_first ? "close, open" : "open, close");
  }
}

// While the device opens, a tune asked for counts as playing, and nothing
// waits; an opening that runs out of memory then leaves the story silent.
TEST(SoundOpener, NothingWaitsForTheDeviceAndAFailedOpeningIsSilence) {
  std::promise<void> release;
  sound::SoundOpener opener([released = release.get_future().share()]() -> std::unique_ptr<sound::SoundSystem> {
    released.wait();
    throw std::bad_alloc();
  });
  opener.midi().Open("tune.mid");
  opener.midi().Play();
  opener.effects().Play("missing.wav");
  EXPECT_EQ(opener.midi().Mode(), "playing");
  release.set_value();
  for (int i = 0; i < 1000 && !opener.opened(); ++i) std::this_thread::sleep_for(2ms);
  EXPECT_EQ(opener.midi().Mode(), "");
}

using SoundEffects = InTempDir;

// A mono 16-bit WAV at 22,050 Hz of `seconds`.
std::string Wav(double seconds) {
  const Bytes format = Bytes().Le16(1).Le16(1).Le32(22050).Le32(44100).Le16(2).Le16(16);
  const Bytes samples = Bytes().Fill(static_cast<std::size_t>(seconds * 22050) * 2, 0x10);
  return testing_support::Riff("WAVE", Bytes().LeChunk("fmt ", format).LeChunk("data", samples)).str();
}

TEST_F(SoundEffects, PlayWavReturnsWhileTheEffectPlaysAndTheEffectIsLetGoOnceItHasEnded) {
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  sound::SoundSystem system([] {});
  ASSERT_TRUE(system.audio_open());
  Write("Good.WAV", Wav(2.0));
  Write("short.wav", Wav(0.1));
  auto& effects = system.effects();
  for (int i = 0; i < 400 && !system.output()->asleep(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(system.output()->asleep()) << "an idle output goes to sleep";
  EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "and is closed";

  effects.Play("good.wav");  // the name differs in letter case
  effects.Drain();
  EXPECT_EQ(Mix_Playing(0), 1) << "a 2-second effect plays (the output woke for it) when Play returns";
  const std::size_t two_seconds = effects.held_bytes();
  EXPECT_GT(two_seconds, 0u);
  effects.Play("short.wav");
  effects.Drain();
  EXPECT_LT(effects.held_bytes(), two_seconds / 10) << "the effect replaced is let go";
  for (int i = 0; i < 200 && effects.held_bytes() > 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(effects.held_bytes(), 0u) << "an effect that has ended is let go";
  effects.Play("short.wav");
  effects.Drain();
  EXPECT_EQ(Mix_Playing(0), 1) << "and plays again when asked for again";
  EXPECT_EQ(Mix_GetChunk(0)->volume, MIX_MAX_VOLUME);
}

TEST_F(SoundEffects, EffectsPlayAtTheirLevel) {
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  Write("e.wav", Wav(1.0));
  for (const auto [level, volume] : {std::pair{50, MIX_MAX_VOLUME / 2}, {0, -1}}) {
    sound::SoundSystem system([] {}, {"/nonexistent/none.sf2"}, {.effects = level});
    system.effects().Play("e.wav");
    system.effects().Drain();
    EXPECT_EQ(Mix_Playing(0) ? Mix_GetChunk(0)->volume : -1, volume) << level;
  }
}

// An effect belongs to its moment: one asked for long before the device
// opened (the intro's, on a slow device) is not played.
TEST_F(SoundEffects, AnEffectWhoseMomentHasPassedWhileTheDeviceOpenedIsNotPlayed) {
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  Write("e.wav", Wav(2.0));
  sound::SoundSystem* system = nullptr;
  sound::SoundOpener opener([&] {
    std::this_thread::sleep_for(600ms);
    auto opened = std::make_unique<sound::SoundSystem>([] {}, std::vector<std::string>{"/nonexistent/none.sf2"});
    system = opened.get();
    return opened;
  });
  opener.effects().Play("e.wav");
  for (int i = 0; i < 1000 && !opener.opened(); ++i) std::this_thread::sleep_for(2ms);
  ASSERT_TRUE(opener.opened() && system && system->audio_open());
  system->effects().Drain();
  EXPECT_EQ(system->effects().held_bytes(), 0u) << "played 0.6 s late";
}

}  // namespace
