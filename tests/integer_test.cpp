// 16-bit arithmetic and rounding as the story and intro logic need them.
#include <gtest/gtest.h>

#include <cmath>

#include "integer.h"
#include "runtime_error.h"

namespace {

TEST(Integer, CIntRoundsHalvesToEven) {
  const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.49, 0}, {32767.4, 32767}, {-32768, -32768}};
  for (auto [in, out] : cases) EXPECT_EQ(tk::CInt(in), out) << in;
}

TEST(Integer, OverflowRaisesError6) {
  for (double v : {32767.5, -32768.6, 1e10, std::nan("")}) {
    try {
      tk::CInt(v);
      ADD_FAILURE() << v;
    } catch (const tk::RuntimeError& e) {
      EXPECT_EQ(e.number(), tk::kOverflow);
    }
  }
  EXPECT_EQ(tk::AddInteger(32000, 767), 32767);
  EXPECT_THROW(tk::AddInteger(32000, 768), tk::RuntimeError);
  EXPECT_THROW(tk::AddInteger(-32768, -1), tk::RuntimeError);
}

}  // namespace
