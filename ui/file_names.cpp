#include "file_names.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace tk {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The entry of dir named like part, exactly or else ignoring ASCII case.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& dir, const std::string& part) {
  std::error_code ec;
  const auto exact = dir / part;
  if (std::filesystem::exists(exact, ec)) return exact;
  if (part == "." || part == "..") return std::nullopt;
  const std::string wanted = Lower(part);
  std::optional<std::filesystem::path> found;
  for (std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (Lower(name) == wanted && (!found || name < found->filename().string())) found = dir / name;
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

}  // namespace tk

namespace tk {

std::optional<std::vector<unsigned char>> ReadFile(const std::filesystem::path& path, std::size_t max_bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > max_bytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<unsigned char> bytes(size);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::optional<std::vector<unsigned char>> ReadNamedFile(std::string_view name, std::size_t max_bytes) {
  const auto path = ResolveName(name);
  if (!path) return std::nullopt;
  return ReadFile(*path, max_bytes);
}

}  // namespace tk
