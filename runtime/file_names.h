#pragma once
// How the system's file names become paths: every name is taken relative to
// the current directory, "\" separates folders as on the original platform,
// and where the exact name does not exist, a name that differs only in letter
// case is used (data made on a case-insensitive file system may name
// "Intro.WAV" and ship it as intro.wav), and then a name whose bytes, read as
// code page 932, give the name (an archive unpacked without converting its
// names leaves 背景.bmp as the bytes 94 77 8C 69 2E 62 6D 70).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// The name with its ASCII letters in lower case, as names are compared when
// letter case is ignored.
std::string Lower(std::string s);
// The path of an existing file (or folder) for the name, or nothing.
std::optional<std::filesystem::path> ResolveName(std::string_view name);

}  // namespace rt
