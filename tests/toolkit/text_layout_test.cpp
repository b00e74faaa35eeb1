// How captions break into lines: line ends, wrapping rules and ampersands.
#include <gtest/gtest.h>

#include "runtime/utf.h"
#include "toolkit/text_layout.h"

namespace {

// Full-width characters 13 pixels, the rest 7, as with a 13-pixel Gothic.
int Measure(std::u32string_view text) {
  int w = 0;
  for (char32_t c : text) w += c >= 0x2E80 ? 13 : 7;
  return w;
}

TEST(Layout, BreaksAsTheLabelDoes) {
  const struct {
    const char* what;
    const char* caption;
    int width;
    std::vector<std::string> lines;
    std::vector<std::vector<std::size_t>> underlined = {};
  } cases[] = {
      {"CR LF starts a line", "a\r\nb\r\n", 100, {"a", "b", ""}},
      {"empty lines stay", "a\r\n\r\nb", 100, {"a", "", "b"}},
      {"a lone LF or CR breaks too", "a\nb\rc", 100, {"a", "b", "c"}},
      {"Japanese breaks between characters", "あいうえお", 39, {"あいう", "えお"}},
      {"。 never starts a line", "あいう。え", 39, {"あい", "う。え"}},
      {"「 never ends a line", "あい「う」", 39, {"あい", "「う」"}},
      {"」 never starts a line", "あいう」", 39, {"あい", "う」"}},
      {"Latin words break at blanks, which hang", "Hello world", 49, {"Hello", "world"}},
      {"an ideographic space hangs too", "あいう\u3000えお", 39, {"あいう", "えお"}},
      {"a word wider than the label stays whole", "ab abcdefghij cd", 35, {"ab", "abcdefghij", "cd"}},
      {"one character always fits", "あい", 5, {"あ", "い"}},
      {"& hides itself and underlines the next", "&File", 100, {"File"}, {{0}}},
      {"&& shows one", "A&&B", 100, {"A&B"}, {{}}},
      {"underlines follow a wrap", "あい&う", 26, {"あい", "う"}, {{}, {0}}},
      {"a trailing & is hidden", "x&", 100, {"x"}, {{}}},
  };
  for (const auto& c : cases) {
    const auto lines = tk::LayoutText(rt::ToUtf32(c.caption), c.width, Measure);
    std::vector<std::string> got;
    for (const auto& l : lines) got.push_back(rt::ToUtf8(l.text));
    EXPECT_EQ(got, c.lines) << c.what;
    for (std::size_t i = 0; i < c.underlined.size() && i < lines.size(); ++i)
      EXPECT_EQ(lines[i].underlined, c.underlined[i]) << c.what << ", line " << i;
  }
}

}  // namespace
