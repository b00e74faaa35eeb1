// Soak: a generated story of 10,000 pages, each turned as soon as it is shown
// (the tests' scripted window system, with the real picture loader and the
// real sound system on SDL's dummy audio driver), changing the picture every
// 3 pages and the tune every 7. Prints resident memory and open file
// descriptors along the way: neither may grow with the number of pages.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "demo/script_player.h"
#include "demo/story_files.h"
#include "demo/vn_midi.h"
#include "demo/vn_wav.h"
#include "demo/waiting_for_reader.h"
#include "runtime/runtime_error.h"
#include "sound/sound_system.h"
#include "support/painted_windows.h"
#include "toolkit/toolkit.h"

namespace {

namespace fs = std::filesystem;

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

long OpenFds() {
  long n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const fs::path dir = fs::temp_directory_path() / ("radaded_soak_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const char* pictures[] = {"office.bmp", "night.bmp", "rooftop.bmp"};
  const char* tunes[] = {"enka.mid", "night.mid", "town.mid"};
  for (const char* f : pictures) fs::copy_file(fs::path(RADADED_STORY_DIR) / f, dir / f);
  for (const char* f : tunes) fs::copy_file(fs::path(RADADED_STORY_DIR) / f, dir / f);
  {
    std::ofstream script(dir / kScriptFile, std::ios::binary);
    for (int page = 0; page < pages; ++page) {
      if (page % 3 == 0) script << "#PICT    \"" << pictures[page / 3 % 3] << "\"\r\n";
      if (page % 7 == 0) script << "#MIDI \"" << tunes[page / 7 % 3] << "\"\r\n";
      script << "Page " << page << " of the soak story.\r\n#PAGE\r\n";
    }
    script << "#ENDI";
  }
  fs::current_path(dir);

  testing_support::FakePlatform platform;
  testing_support::PaintWithRenderer(platform);
  auto& toolkit = tk::Toolkit::Get();
  toolkit.Install(platform, platform.clock);
  sound::SoundSystem sound([] {});
  VN_Midi::UseDevice(sound.midi());
  VN_WAV::UseDevice(sound.effects());

  int turned = 0;
  long rss_start = 0, fds_start = 0;
  const auto start = std::chrono::steady_clock::now();
  platform.on_wait = [&] {
    if (!Module1::WaitingForReader) return;
    if (turned == 100) rss_start = ResidentKb(), fds_start = OpenFds();
    if (turned % 2000 == 0)
      std::printf("page %5d: resident %6ld kB, open descriptors %ld\n", turned, ResidentKb(), OpenFds());
    ++turned;
    platform.KeyUp();
  };
  int status = 0;
  try {
    Module1::PlayScript();
  } catch (const rt::RuntimeError& e) {
    std::printf("error %d: %s\n", e.number(), e.where().c_str());
    status = 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("page %5d: resident %6ld kB, open descriptors %ld\n", turned, ResidentKb(), OpenFds());
  std::printf("%d pages in %.1f s (%.2f ms a page); from page 100 to the end: resident %+ld kB, descriptors %+ld\n",
              turned, seconds, 1000 * seconds / std::max(turned, 1), ResidentKb() - rss_start, OpenFds() - fds_start);
  toolkit.Shutdown();
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(dir);
  return status;
}
