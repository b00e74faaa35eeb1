// A whole script played on the tests' scripted window system, with a reader
// who turns every page at once: it ends, or raises a run-time error.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "demo/script_player.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/runtime_error.h"
#include "support/painted_windows.h"
#include "toolkit/toolkit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool in_own_dir = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("radaded_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::ofstream("a.bmp") << "BM no picture";
    return true;
  }();
  (void)in_own_dir;
  std::ofstream("Rodevez2E.dat", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  testing_support::FakePlatform platform;
  testing_support::PaintWithRenderer(platform);
  auto& toolkit = tk::Toolkit::Get();
  toolkit.Install(platform, platform.clock);
  Module1::WaitingForReader = tk::False;
  VN_Midi::CurrentTune.clear();
  platform.on_wait = [&] {
    if (Module1::WaitingForReader) platform.KeyUp();
  };
  try {
    Module1::PlayScript();
  } catch (const tk::RuntimeError&) {
  }
  toolkit.Shutdown();
  return 0;
}
