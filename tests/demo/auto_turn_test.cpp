// Pages that turn by themselves: when each page shows and when it turns, read
// from the trace on the fake clock, with the music's loop check ticking
// beside the page timer, and a reader who sometimes turns a page first.
#include <gtest/gtest.h>

#include "demo/credits.h"
#include "demo/script_player.h"
#include "demo/services.h"
#include "support/story_fixture.h"
#include "support/test_name.h"
#include "support/trace_reader.h"

namespace {

using Events = std::vector<std::string>;

struct AutoCase {
  const char* what;
  int fixed_ms;
  std::vector<std::int64_t> key_releases;  // when the reader turns a page
  Events expected;  // "<ms> page <text>", "<ms> auto", "<ms> keyup", "<ms> play lmb.mid", "<ms> staff"
};

void PrintTo(const AutoCase& c, std::ostream* os) { *os << c.what; }

// あいう: 3 characters (not 9 bytes); "a b" 2 (blanks are not read);
// "ＡＢ　ＣＤ\r\nE" 5 (nor line ends).
const char kScript[] = "あいう\r\n#MIDI \"x.mid\"\r\na b\r\n#PAGE\r\nＡＢ　ＣＤ\r\nE\r\n#ENDI\r\n";

class PagesTurningThemselves : public testing_support::StoryFixture, public ::testing::WithParamInterface<AutoCase> {
 protected:
  // Pages shown, pages turned, the closing tune and the staff screen after
  // it, with their times.
  Events Timeline() const {
    Events out;
    bool closing = false;
    for (auto& r : testing_support::ReadTrace(trace_path)) {
      const bool closing_tune = r["op"] == "PlayMidi" && r["arg"] == "lmb.mid";
      closing = closing || closing_tune;
      if (r["ev"] == "input") out.push_back(r["ms"] + " " + r["kind"]);
      else if (closing_tune) out.push_back(r["ms"] + " play lmb.mid");
      else if (r["control"] == "Label1" && r["prop"] == "Caption")
        out.push_back(r["ms"] + (closing ? " staff" : " page " + r["value"]));
    }
    return out;
  }
};

TEST_P(PagesTurningThemselves, EachPageTurnsAfterItsReadingTimeUnlessTheReaderTurnsItFirst) {
  const AutoCase& c = GetParam();
  platform.on_wait = nullptr;
  for (auto at : c.key_releases) platform.KeyUp(0, at);
  Module1::Wiring wiring({.midi = &midi, .start = {}, .auto_turn_ms = c.fixed_ms});
  WriteScript(kScript);
  ASSERT_TRUE(Run([] {
    Module1::PlayScript();
    Module1::ClosingCredits();
  })) << error->where();
  EXPECT_EQ(Timeline(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PagesTurningThemselves,
    ::testing::Values(
        AutoCase{"by length: two seconds and 125 ms a character",
                 0,
                 {},
                 {"0 page あいう\r\n", "2375 auto", "2375 page a b\r\n", "4625 auto",
                  "4625 page ＡＢ　ＣＤ\r\nE\r\n", "7250 auto", "7250 play lmb.mid", "7250 staff"}},
        AutoCase{"a fixed time, whatever the length",
                 1500,
                 {},
                 {"0 page あいう\r\n", "1500 auto", "1500 page a b\r\n", "3000 auto",
                  "3000 page ＡＢ　ＣＤ\r\nE\r\n", "4500 auto", "4500 play lmb.mid", "4500 staff"}},
        AutoCase{"a key release turns at once, and the next page gets its whole time",
                 1500,
                 {1000, 3400},
                 {"0 page あいう\r\n", "1000 keyup", "1000 page a b\r\n", "2500 auto",
                  "2500 page ＡＢ　ＣＤ\r\nE\r\n", "3400 keyup", "3400 play lmb.mid", "3400 staff"}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

}  // namespace
