#pragma once
// Puts a FakePlatform under the toolkit for one test.
#include <gtest/gtest.h>

#include "support/fake_platform.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace testing_support {

class ToolkitFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Toolkit::Get().Install(platform, platform.clock);
    tk::Toolkit::Get().set_show_error_box(true);
  }
  void TearDown() override { tk::Toolkit::Get().Shutdown(); }

  static std::uint32_t WindowOf(const tk::Form& form) { return form.host()->id(); }
  // Runs the yield operation until the clock has reached `ms`.
  void RunUntil(std::int64_t ms) {
    while (platform.clock.NowMs() < ms) tk::Toolkit::Get().DoEvents();
  }

  FakePlatform platform;
};

}  // namespace testing_support
