// Prints what the sound back end costs and how it keeps time, measured from
// what SDL's disk audio driver writes (paced in real time, like a sound card):
//   - the SoundFont load, and how much of start-up waits for it (none should);
//   - from PlayMidi to the first audible sample;
//   - from a tune's last event to IsMidiPlaying turning false;
//   - the loop gap: from the last event to the first sample of the restart,
//     through a loop check every 500 ms as the main window's timer runs it.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "demo/vn_midi.h"
#include "sound/sound_system.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A bass drum at the start and its note-off at exactly 1 s, the last event.
std::string Tune() {
  const std::string track("\x00\xc9\x00\x00\x99\x24\x7f\x83\x60\x89\x24\x00\x00\xff\x2f\x00", 16);  // 480 ticks = 1 s at 60 bpm
  const std::string tempo("\x00\xff\x51\x03\x0f\x42\x40", 7);
  std::string body = tempo + track;
  std::string out("MThd\0\0\0\x06\0\0\0\x01\x01\xe0", 14);
  out += "MTrk";
  out += static_cast<char>(0), out += static_cast<char>(0), out += static_cast<char>(0);
  out += static_cast<char>(body.size());
  return out + body;
}

std::vector<float> Levels(const fs::path& raw) {  // peak per millisecond
  std::ifstream in(raw, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  const auto* s = reinterpret_cast<const std::int16_t*>(bytes.data());
  std::vector<float> ms(bytes.size() / 4 / 44 + 1, 0.0f);
  for (std::size_t i = 0; i < bytes.size() / 2; ++i)
    ms[i / 2 / 44] = std::max(ms[i / 2 / 44], std::abs(s[i]) / 32768.0f);
  return ms;
}

// Milliseconds (from the start of the file) where the drum strikes: the level
// rises above 0.08 after 30 ms below 0.05 (the tail of the last stroke, which
// a restart may cut short, stays below that).
std::vector<int> Onsets(const std::vector<float>& level) {
  std::vector<int> out;
  int quiet = 30;
  for (std::size_t t = 0; t < level.size(); ++t) {
    if (level[t] > 0.08f && quiet >= 30) out.push_back(static_cast<int>(t));
    quiet = level[t] < 0.05f ? quiet + 1 : 0;
  }
  return out;
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("radaded_bench_" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::current_path(dir);
  std::ofstream("loop.mid", std::ios::binary) << Tune();
  const fs::path raw = dir / "out.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);

  std::vector<double> ends;
  Clock::time_point opened, played;
  {
    const auto t0 = Clock::now();
    sound::SoundSystem system([] {});
    opened = Clock::now();
    if (!system.audio_open()) return 1;
    std::printf("start-up pays for the sound system: %.1f ms (audio device opened; SoundFont loads meanwhile)\n",
                Ms(opened - t0));
    system.synthesizer()->WaitUntilLoaded();
    std::printf("SoundFont load, on its own thread: %.1f ms\n", system.synthesizer()->load_ms());
    VN_Midi::UseDevice(system.midi());

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    played = Clock::now();
    VN_Midi::CurrentTune = "loop.mid";
    // The main window's timer: the loop check every 500 ms, for six seconds.
    auto tick = played;
    bool was_playing = false;
    while (Clock::now() - played < std::chrono::seconds(6)) {
      if (Clock::now() >= tick) {
        VN_Midi::CheckMidiLoop();
        tick += std::chrono::milliseconds(500);
      }
      const bool playing = VN_Midi::IsMidiPlaying();
      if (was_playing && !playing) ends.push_back(Ms(Clock::now() - opened));
      was_playing = playing;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    VN_Midi::StopMidi();
  }
  const auto onsets = Onsets(Levels(raw));
  fs::remove_all(dir);
  if (onsets.empty()) {
    std::printf("nothing was heard\n");
    return 1;
  }
  std::printf("PlayMidi to the first audible sample: %.1f ms\n", onsets[0] - Ms(played - opened));
  for (std::size_t i = 0; i < ends.size() && i < onsets.size(); ++i)
    std::printf("tune %zu: IsMidiPlaying false %.1f ms after its last event\n", i + 1, ends[i] - (onsets[i] + 1000.0));
  double worst = 0;
  for (std::size_t i = 1; i < onsets.size(); ++i) {
    const double gap = onsets[i] - (onsets[i - 1] + 1000.0);
    worst = std::max(worst, gap);
    std::printf("loop gap %zu: %.0f ms\n", i, gap);
  }
  std::printf("worst loop gap: %.0f ms (at most one 500 ms tick plus the reopen)\n", worst);
  return 0;
}
