#include "runtime/integer.h"

#include <cmath>
#include <limits>

#include "runtime/runtime_error.h"

namespace rt {

Integer AddInteger(Integer a, long long b) {
  const long long sum = static_cast<long long>(a) + b;
  if (sum < INT16_MIN || sum > INT16_MAX) Raise(kOverflow);
  return static_cast<Integer>(sum);
}

namespace {
// Rounds half to even (the default rounding mode) into T, or raises Overflow.
template <typename T>
T Rounded(double value) {
  const double r = std::nearbyint(value);
  if (!std::isfinite(r) || r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max()) Raise(kOverflow);
  return static_cast<T>(r);
}
}  // namespace

Integer CInt(double value) { return Rounded<Integer>(value); }
std::int32_t CLng(double value) { return Rounded<std::int32_t>(value); }

}  // namespace rt
