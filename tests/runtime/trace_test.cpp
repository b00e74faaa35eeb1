// The trace is what most tests read back: its strings must survive any page,
// as written and as the tests' reader reads them.
#include <gtest/gtest.h>

#include "runtime/clock.h"
#include "runtime/trace.h"
#include "support/trace_reader.h"

namespace {

TEST(Trace, QuotesEveryPageAsAJsonString) {
  const std::pair<std::string, std::string> cases[] = {
      {"say \"hi\"", R"("say \"hi\"")"},
      {"C:\\story\\a.bmp", R"("C:\\story\\a.bmp")"},
      {"a\r\nb\tc", R"("a\r\nb\tc")"},
      {std::string("\x01\x1f\x7f", 3), R"("\u0001\u001f)" "\x7f\""},
      {"ページ", "\"ページ\""},  // UTF-8 as it stands
  };
  for (const auto& [text, json] : cases) {
    EXPECT_EQ(rt::trace::Quote(text), json) << text;
    EXPECT_EQ(testing_support::ParseTraceLine("{\"ms\":5,\"value\":" + json + "}"),
              (testing_support::TraceRecord{{"ms", "5"}, {"value", text}}));
  }
}

// A trace that can no longer be written (a full disk) is said once, and the
// program goes on.
TEST(Trace, AFullDiskIsSaidOnce) {
  rt::ManualClock clock;
  testing::internal::CaptureStderr();
  rt::trace::Open("/dev/full", clock);
  for (int i = 0; i < 3; ++i) rt::trace::Show("Form1");
  rt::trace::Close();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot write the trace to '/dev/full' any more"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "said once: " << said;
}

}  // namespace
