#pragma once
// How the system's file names become paths: every name is taken relative to
// the current directory, "\" separates folders as on the original platform,
// and where the exact name does not exist, a name that differs only in letter
// case is used (data made on a case-insensitive file system may name
// "Intro.WAV" and ship it as intro.wav).
#include <filesystem>
#include <optional>
#include <string_view>

namespace tk {

// The path of an existing file (or folder) for the name, or nothing.
std::optional<std::filesystem::path> ResolveName(std::string_view name);

}  // namespace tk

#include <vector>

namespace tk {

// Reads a whole regular file of at most max_bytes into `out`. Returns 0, or the
// run-time error number of what stands in the way: 53 when there is no such
// file, 75 when it is no regular file (a folder, a pipe, a device) or cannot be
// opened (a link loop, no permission), 7 when it holds more than max_bytes.
// Never blocks on a pipe and never throws a file-system error.
int ReadRegularFile(const std::filesystem::path& path, std::size_t max_bytes, std::vector<unsigned char>& out);
// Reads what is left on an open descriptor, appending to `out`: 0, or 57
// (Device I/O error) on a failed read, or 7 when there is more than max_bytes.
int ReadAll(int fd, std::size_t max_bytes, std::vector<unsigned char>& out);
// The bytes of a file, or nothing when ReadRegularFile gives an error.
std::optional<std::vector<unsigned char>> ReadFile(const std::filesystem::path& path, std::size_t max_bytes);
// The same for a name, resolved as above.
std::optional<std::vector<unsigned char>> ReadNamedFile(std::string_view name, std::size_t max_bytes);

}  // namespace tk
