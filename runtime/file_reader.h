#pragma once
// Whole files read into memory: regular files only, bounded in size, never
// blocking on a pipe and never throwing a file-system error.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

#include <vector>

namespace rt {

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
// The same for a name, resolved as file_names.h resolves it.
std::optional<std::vector<unsigned char>> ReadNamedFile(std::string_view name, std::size_t max_bytes);

}  // namespace rt
