#pragma once
// Pages that turn by themselves (--auto): how long a page is left to be read.
#include <string_view>

namespace AutoTurn {

// How long a page of Japanese text takes to read at a leisurely pace: two
// seconds to take in the picture, then 125 ms a character (480 a minute),
// line ends and blanks not counted.
int ReadingTimeMs(std::u32string_view page);

}  // namespace AutoTurn
