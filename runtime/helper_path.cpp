#include "runtime/helper_path.h"

#include <unistd.h>

#include <filesystem>

namespace rt {

std::string HelperPath(const char* name) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return name;
  const auto dir = self.parent_path();
  for (const auto& candidate : {dir / name, dir.parent_path() / "libexec" / "radaded2k" / name})
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  return (dir / name).string();
}

}  // namespace rt
