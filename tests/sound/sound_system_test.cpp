// The real back ends: FluidSynth heard through SDL's disk audio driver, the
// MIDI device's file handling, and sound effects that never fail visibly.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <new>
#include <thread>

#include "sound/output/audio_output.h"
#include "sound/fluid_midi_device.h"
#include "support/temp_dir.h"
#include "sound/sound_opener.h"
#include "sound/sound_system.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One organ note of 0.5 s at 120 beats a minute; the note-off is the last event.
const std::string kTune = std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xe0", 14) +
                          std::string("MTrk\0\0\0\x10\x00\xc0\x13\x00\x90\x3c\x64\x81\x70\x80\x3c\x00\x00\xff\x2f\x00", 24);

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
  Write("Music/Tune.MID", kTune);
  Write("bad.mid", "MThd garbage");
  const std::pair<std::string, std::string> cases[] = {
      {"Music\\Tune.MID", "stopped"},  // opened (no synthesiser here to play it)
      {"music\\tune.mid", "stopped"},  // letter case differs
      {"C:\\Music\\Tune.MID", ""},     // a drive letter is a folder's name, and there is none
      {"bad.mid", ""},
      {"missing.mid", ""},
      {"Music", ""},
      {"", ""},
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

// Reads what the disk audio driver wrote: RMS of 16-bit stereo from t0 to t1 seconds.
double Rms(const fs::path& raw, double t0, double t1) {
  std::ifstream in(raw, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  const auto* s = reinterpret_cast<const std::int16_t*>(bytes.data());
  const std::size_t n = bytes.size() / 2, a = static_cast<std::size_t>(t0 * 88200), b = std::min(n, static_cast<std::size_t>(t1 * 88200));
  double sum = 0;
  for (std::size_t i = a; i < b; ++i) sum += double(s[i]) * s[i];
  return b > a ? std::sqrt(sum / (b - a)) / 32768.0 : 0.0;
}

using RealSynthesizer = InTempDir;

TEST_F(RealSynthesizer, ATuneIsHeardEndsAfterItsLastEventAndStopMidiSilencesIt) {
  Write("t.mid", kTune);
  const fs::path raw = dir / "out.raw";
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw.c_str());
  std::atomic<int> ends{0};
  {
    sound::SoundSystem system([&] { ++ends; });
    ASSERT_TRUE(system.audio_open());
    if (!system.synthesizer()->WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
    sound::MidiDevice& midi = system.midi();
    const std::string tune = (dir / "t.mid").string();

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
  const double length = fs::file_size(raw) / 176400.0;
  double loudest = 0;
  for (double t = 0; t + 0.1 < length; t += 0.05) loudest = std::max(loudest, Rms(raw, t, t + 0.1));
  EXPECT_GT(loudest, 0.01) << "the note is heard";
  // Only the reverb's last ring (about -70 dB) may be left 0.3 s after StopMidi.
  EXPECT_LT(Rms(raw, length - 0.2, length), 0.002) << "silence after StopMidi";
}

// A real MIDI file (of the loudest kind: many voices at full velocity) as
// Windows saved such files, wrapped in RIFF, under a name that is no ".mid":
// its notes are heard at once, and never clipped.
TEST_F(RealSynthesizer, AnRmidFilePlaysItsNotesUnclipped) {
  std::ifstream in("/usr/share/planetblupi/music/music009.mid", std::ios::binary);
  const std::string smf((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(smf.size(), 14u) << "tools/install-deps.sh installs planetblupi-music-midi";
  const auto le32 = [](std::size_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const std::string pad(smf.size() % 2, '\0');
  Write("Tune.rmi", "RIFF" + le32(12 + smf.size() + pad.size()) + "RMID" + "data" + le32(smf.size()) + smf + pad);
  const fs::path raw = dir / "out.raw";
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw.c_str());
  {
    sound::SoundSystem system([] {});
    ASSERT_TRUE(system.audio_open());
    if (!system.synthesizer()->WaitUntilLoaded()) GTEST_SKIP() << "no SoundFont installed (timgm6mb-soundfont)";
    system.midi().Open(dir.string() + "\\Tune.rmi");
    system.midi().Play();
    EXPECT_EQ(system.midi().Mode(), "playing");
    std::this_thread::sleep_for(2s);
  }
  EXPECT_GT(Rms(raw, 0.2, 2.0), 0.05);
  std::ifstream heard(raw, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(heard)), {});
  const auto* samples = reinterpret_cast<const std::int16_t*>(bytes.data());
  const long clipped = std::count_if(samples, samples + bytes.size() / 2, [](int v) { return std::abs(v) >= 32767; });
  EXPECT_EQ(clipped, 0) << "of " << bytes.size() / 2 << " samples";
}

TEST_F(RealSynthesizer, NoSoundFontMeansSilenceNotAHang) {
  Write("t.mid", kTune);
  testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  sound::SoundSystem system([] {}, {"/nonexistent/none.sf2"});
  EXPECT_FALSE(system.synthesizer()->WaitUntilLoaded());
  system.midi().Open((dir / "t.mid").string());
  system.midi().Play();
  EXPECT_NE(system.midi().Mode(), "playing");
}

using OpeningSound = InTempDir;

// What is asked while the device is still opening is done, in order, once it
// is open; a question waits for the answer of the open system.
TEST_F(OpeningSound, RequestsMadeBeforeTheDeviceIsOpenAreDoneInOrder) {
  Write("t.mid", kTune);
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
    std::thread later([&] {
      std::this_thread::sleep_for(50ms);
      release.set_value();
    });
    EXPECT_EQ(opener.midi().Mode(), c.mode) << (c.close_first ? "close, open" : "open, close");
    later.join();
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
  std::string mode = "playing";
  for (int i = 0; i < 500 && !mode.empty(); ++i, std::this_thread::sleep_for(2ms)) mode = opener.midi().Mode();
  EXPECT_EQ(mode, "");
}

using SoundEffects = InTempDir;

// A mono 16-bit WAV at 22,050 Hz of `seconds`.
std::string Wav(double seconds) {
  const auto le32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const std::string data(static_cast<std::size_t>(seconds * 22050) * 2, '\x10');
  const std::string fmt("fmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0", 24);
  return "RIFF" + le32(static_cast<std::uint32_t>(36 + data.size())) + "WAVE" + fmt + "data" +
         le32(static_cast<std::uint32_t>(data.size())) + data;
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
}

}  // namespace
