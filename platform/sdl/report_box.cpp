#include "platform/sdl/report_box.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace sdl {

void CloseReportBox() {
  const std::string parent = " " + std::to_string(::getpid()) + " ";
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const int pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0) continue;
    std::ifstream in(entry.path() / "stat");
    std::string stat;
    std::getline(in, stat);
    // pid (name) state ppid ...: the name may hold anything but ends at the last ')'.
    const auto close = stat.rfind(')');
    if (close == std::string::npos || stat.find(parent, close + 2) != close + 3) continue;
    std::error_code no_exe;
    if (std::filesystem::read_symlink(entry.path() / "exe", no_exe) == self) ::kill(pid, SIGKILL);
  }
}

}  // namespace sdl
