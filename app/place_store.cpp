#include "app/place_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "runtime/file_reader.h"
#include "runtime/file_writer.h"
#include "runtime/notice.h"
#include "runtime/runtime_error.h"
#include "runtime/whole_number.h"

namespace app {
namespace {

constexpr char kHeader[] = "radaded2k place\n";
constexpr std::size_t kMostBytes = 64 * 1024;  // a folder's path and a line number, with room

std::string Hash(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

// Makes the folder and those above it, readable by the user alone.
bool MakeFolders(const std::string& dir) {
  for (std::size_t at = dir.find('/', 1);; at = dir.find('/', at + 1)) {
    const std::string part = dir.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (at == std::string::npos) return true;
  }
}

}  // namespace

PlaceStore::PlaceStore(std::string folder, const std::string& state)
    : folder_(std::move(folder)), dir_(state + "/radaded2k/places"), path_(dir_ + "/" + Hash(folder_)) {}

std::optional<PlaceStore> PlaceStore::ForCurrentFolder() {
  std::error_code ec;
  const auto folder = std::filesystem::current_path(ec);
  if (ec) return std::nullopt;
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return PlaceStore(folder.string(), state);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return PlaceStore(folder.string(), std::string(home) + "/.local/state");
  return std::nullopt;
}

std::string PlaceStore::Head() const { return kHeader + ("folder " + folder_) + "\nline "; }

std::string PlaceStore::Contents(long line) const { return Head() + std::to_string(line) + "\n"; }

std::optional<long> PlaceStore::Load() const {
  std::vector<unsigned char> bytes;
  const int error = rt::ReadRegularFile(path_, kMostBytes, bytes);
  if (error == rt::kFileNotFound) return std::nullopt;
  const std::string text(bytes.begin(), bytes.end());
  const std::string head = Head();
  if (!error && text.size() > head.size() + 1 && text.compare(0, head.size(), head) == 0 && text.back() == '\n') {
    const auto line = rt::WholeNumber(std::string_view(text).substr(head.size(), text.size() - head.size() - 1));
    if (line && *line > 0) return line;
  }
  rt::Notice("ignoring %s: it is no place kept for this story", path_.c_str());
  return std::nullopt;
}

void PlaceStore::Save(long line) const {
  const std::string temporary = path_ + ".new-" + std::to_string(::getpid());
  int error = 0;
  if (!MakeFolders(dir_)) {
    error = errno;
  } else if (const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
             fd < 0) {
    error = errno;
  } else {
    if (!rt::WriteAll(fd, Contents(line)) || ::fsync(fd) != 0) error = errno ? errno : EIO;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temporary.c_str(), path_.c_str()) != 0) error = errno;
  }
  if (!error) {
    if (const int dir = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
      ::fsync(dir);  // the rename itself, on the disk
      ::close(dir);
    }
    return;
  }
  ::unlink(temporary.c_str());
  rt::Notice("cannot keep the reader's place in %s: %s", path_.c_str(), std::strerror(error));
}

void PlaceStore::Forget() const {
  if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
    rt::Notice("cannot forget the reader's place in %s: %s", path_.c_str(), std::strerror(errno));
}

}  // namespace app
