#pragma once
// The 16-bit numbers of the story and intro logic: every counter, index and
// length is a signed 16-bit Integer, and a Boolean is an Integer (true = -1).
#include <cstdint>

namespace rt {

using Integer = std::int16_t;
using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

// a + b, raising run-time error 6 (Overflow) outside -32768..32767.
Integer AddInteger(Integer a, long long b);

// Rounds to the nearest integer, an exact half to the even neighbour, and
// raises error 6 (Overflow) outside the 16-bit range (or for NaN).
Integer CInt(double value);

// The same rounding into a signed 32-bit integer.
std::int32_t CLng(double value);

}  // namespace rt
