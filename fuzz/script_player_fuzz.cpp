// A whole script played on the tests' scripted window system, with a reader
// who turns every page at once and now and then goes back a page (PageUp, at
// most eight times, so that the story ends), and checked: it ends, or raises a run-time
// error at a line where the checker has found one; a script the checker
// finds no error in plays to its end.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "demo/script_player.h"
#include "demo/story_check.h"
#include "demo/story_files.h"
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
  const std::string script(reinterpret_cast<const char*>(data), size);
  std::ofstream(kScriptFile, std::ios::binary | std::ios::trunc) << script;
  const script::CheckResult check = script::CheckStory([](const tk::Label&) { return true; });

  testing_support::FakePlatform platform;
  testing_support::PaintWithRenderer(platform);
  auto& toolkit = tk::Toolkit::Get();
  toolkit.Install(platform, platform.clock);
  Module1::WaitingForReader = rt::False;
  VN_Midi::CurrentTune.clear();
  int waits = 0, backs = 0;
  const std::size_t pattern = std::hash<std::string>{}(script);
  platform.on_wait = [&] {
    if (!Module1::WaitingForReader) return;
    const bool back = backs < 8 && (pattern >> (waits++ % 61)) & 1;
    backs += back;
    platform.KeyUp(0, -1, back ? 33 : 0);
  };
  std::optional<rt::RuntimeError> error;
  try {
    Module1::PlayScript();
  } catch (const rt::RuntimeError& e) {
    error = e;
  }
  toolkit.Shutdown();

  if (error && !check.HasError()) __builtin_trap();
  // A script of LF line ends reads as one line: the checker says so at line 1.
  const bool lf_only = script.find('\n') != std::string::npos && script.find('\r') == std::string::npos;
  if (error && error->line() > 0 && !lf_only &&
      std::none_of(check.findings.begin(), check.findings.end(),
                   [&](const script::Finding& f) { return f.error && f.line == error->line(); }))
    __builtin_trap();
  return 0;
}
