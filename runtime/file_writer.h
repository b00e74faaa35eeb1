#pragma once
// Writing to a descriptor: all of the bytes, or a failure with errno set.
#include <cstddef>
#include <string_view>

namespace rt {

// Writes every byte, again after a signal's interruption and after a short
// write; false (errno saying why; EIO for a write of nothing) when the
// descriptor fails first.
bool WriteAll(int fd, const void* bytes, std::size_t size);
inline bool WriteAll(int fd, std::string_view text) { return WriteAll(fd, text.data(), text.size()); }

}  // namespace rt
