#include "integer.h"

#include <cmath>

#include "runtime_error.h"

namespace tk {

Integer AddInteger(Integer a, long long b) {
  const long long sum = static_cast<long long>(a) + b;
  if (sum < INT16_MIN || sum > INT16_MAX) Raise(kOverflow);
  return static_cast<Integer>(sum);
}

namespace {
double RoundHalfEven(double value) {
  double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
  return r;
}
}  // namespace

Integer CInt(double value) {
  if (!std::isfinite(value)) Raise(kOverflow);
  const double r = RoundHalfEven(value);
  if (r < INT16_MIN || r > INT16_MAX) Raise(kOverflow);
  return static_cast<Integer>(r);
}

std::int32_t CLng(double value) {
  if (!std::isfinite(value)) Raise(kOverflow);
  const double r = RoundHalfEven(value);
  if (r < INT32_MIN || r > INT32_MAX) Raise(kOverflow);
  return static_cast<std::int32_t>(r);
}

}  // namespace tk
