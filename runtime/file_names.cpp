#include "runtime/file_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/cp932.h"
#include "runtime/runtime_error.h"
#include "runtime/unique_fd.h"
#include "runtime/utf.h"

namespace rt {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

namespace {

// How well a directory entry's name matches the name looked for (a lower
// rank is better): the name ignoring letter case, then the entry's bytes read
// as code page 932 (names unpacked from an old archive unconverted), exactly
// and then ignoring letter case.
int MatchRank(const std::string& entry, const std::string& part, const std::string& wanted,
              std::optional<Cp932Decoder>& cp932) {
  if (Lower(entry) == wanted) return 1;
  if (std::all_of(entry.begin(), entry.end(), [](unsigned char c) { return c < 0x80; })) return 0;
  if (!cp932) cp932.emplace();
  const std::string decoded = ToUtf8(cp932->Decode(entry));
  if (decoded == part) return 2;
  if (Lower(decoded) == wanted) return 3;
  return 0;
}

// The entry of dir named like part: the exact name, else the best match
// (of equal ones, the first in byte order).
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& dir, const std::string& part) {
  std::error_code ec;
  const auto exact = dir / part;
  if (std::filesystem::exists(exact, ec)) return exact;
  if (part == "." || part == "..") return std::nullopt;
  const std::string wanted = Lower(part);
  std::optional<Cp932Decoder> cp932;
  std::optional<std::filesystem::path> found;
  int found_rank = 0;
  for (std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const int rank = MatchRank(name, part, wanted, cp932);
    if (rank == 0) continue;
    if (!found || rank < found_rank || (rank == found_rank && name < found->filename().string())) {
      found = dir / name;
      found_rank = rank;
    }
  }
  return found;
}

}  // namespace

std::optional<std::filesystem::path> ResolveName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string text(name);
  std::replace(text.begin(), text.end(), '\\', '/');
  if (text.find('\0') != std::string::npos) return std::nullopt;
  std::filesystem::path path = text.front() == '/' ? std::filesystem::path("/") : std::filesystem::path();
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t slash = std::min(text.find('/', start), text.size());
    const std::string part = text.substr(start, slash - start);
    start = slash + 1;
    if (part.empty()) continue;
    auto next = FindEntry(path, part);
    if (!next) return std::nullopt;
    path = *next;
  }
  if (path.empty()) return std::nullopt;
  return path;
}


}  // namespace rt
