// File-name resolution over any name, in a folder of a few files and folders.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/file_names.h"
#include "runtime/file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    namespace fs = std::filesystem;
    const auto dir = fs::temp_directory_path() / ("radaded_fuzz_names_" + std::to_string(::getpid()));
    fs::create_directories(dir / "Music" / "Old");
    fs::current_path(dir);
    std::ofstream("Music/Tune.MID") << "x";
    std::ofstream("vmdemo3.wav") << "x";
    std::ofstream("\x94\x77\x8C\x69.bmp") << "x";  // a name left in code page 932 bytes
    std::error_code ec;
    fs::create_symlink("loop", "loop", ec);
    return true;
  }();
  (void)ready;
  const std::string name(reinterpret_cast<const char*>(data), size);
  if (const auto path = rt::ResolveName(name)) {
    std::vector<unsigned char> bytes;
    rt::ReadRegularFile(*path, 1024, bytes);
  }
  return 0;
}
