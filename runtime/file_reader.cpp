#include "runtime/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "runtime/file_names.h"
#include "runtime/runtime_error.h"
#include "runtime/unique_fd.h"

namespace rt {

int ReadRegularFile(const std::filesystem::path& path, std::size_t max_bytes, std::vector<unsigned char>& out) {
  out.clear();
  // Non-blocking, so that opening a pipe with no writer returns at once.
  const UniqueFd owned(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  const int fd = owned.get();
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? kFileNotFound : kPathFileAccessError;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return kPathFileAccessError;
  if (static_cast<unsigned long long>(st.st_size) > max_bytes) return kOutOfMemory;
  out.reserve(static_cast<std::size_t>(st.st_size));
  return ReadAll(fd, max_bytes, out);
}

int ReadAll(int fd, std::size_t max_bytes, std::vector<unsigned char>& out) {
  std::size_t got = out.size();
  for (;;) {
    if (got == out.size()) {
      // One byte past the limit tells a file that is too large.
      if (out.size() >= max_bytes + 1) break;
      out.resize(std::min(max_bytes + 1, std::max(out.capacity(), out.size() + 65536)));
    }
    const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return kDeviceIoError;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out.resize(got);
  if (got > max_bytes) {
    out.clear();
    return kOutOfMemory;
  }
  return 0;
}

std::optional<std::vector<unsigned char>> ReadFile(const std::filesystem::path& path, std::size_t max_bytes) {
  std::vector<unsigned char> bytes;
  if (ReadRegularFile(path, max_bytes, bytes) != 0) return std::nullopt;
  return bytes;
}

std::optional<std::vector<unsigned char>> ReadNamedFile(std::string_view name, std::size_t max_bytes) {
  const auto path = ResolveName(name);
  if (!path) return std::nullopt;
  return ReadFile(*path, max_bytes);
}

}  // namespace rt
