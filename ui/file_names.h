#pragma once
// How the system's file names become paths: every name is taken relative to
// the current directory, "\" separates folders as on the original platform,
// and where the exact name does not exist, a name that differs only in letter
// case is used (data made on a case-insensitive file system names
// "vmdemo3.WAV" and may ship it as vmdemo3.wav).
#include <filesystem>
#include <optional>
#include <string_view>

namespace tk {

// The path of an existing file (or folder) for the name, or nothing.
std::optional<std::filesystem::path> ResolveName(std::string_view name);

}  // namespace tk

#include <vector>

namespace tk {

// The bytes of a file, or nothing when it is missing, is a folder, or holds
// more than max_bytes.
std::optional<std::vector<unsigned char>> ReadFile(const std::filesystem::path& path, std::size_t max_bytes);
// The same for a name, resolved as above.
std::optional<std::vector<unsigned char>> ReadNamedFile(std::string_view name, std::size_t max_bytes);

}  // namespace tk
