// Sequential input of code page 932 text: the line rules and the end of file.
#include <gtest/gtest.h>

#include "test_name.h"

#include "runtime_error.h"
#include "text_input.h"
#include "utf.h"

namespace {

struct LinesCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> lines;  // UTF-8
};

class TextInputLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextInputLines, SplitsAndDecodesLikeTheOriginal) {
  const auto& c = GetParam();
  auto in = tk::TextInput::FromBytes(c.bytes);
  std::vector<std::string> got;
  while (!in.Eof()) got.push_back(tk::ToUtf8(in.LineInput()));
  EXPECT_EQ(got, c.lines) << c.what;
  EXPECT_THROW(in.LineInput(), tk::RuntimeError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextInputLines,
    ::testing::Values(
        LinesCase{"CR LF", "a\r\nb\r\n", {"a", "b"}},
        LinesCase{"no line end at the end", "a\r\nb", {"a", "b"}},
        LinesCase{"a lone CR ends a line", "a\rb\r", {"a", "b"}},
        LinesCase{"a lone LF belongs to its line", "a\nb\r\nc", {"a\nb", "c"}},
        LinesCase{"empty lines", "\r\n\r\n#ENDI", {"", "", "#ENDI"}},
        LinesCase{"CR CR LF", "a\r\r\n", {"a", ""}},
        LinesCase{"Shift_JIS", "\x83\x6c\x83\x74\x83\x42\r\n", {"ネフィ"}},
        LinesCase{"Microsoft's table: wave dash", "\x81\x60", {"～"}},
        LinesCase{"a bad byte becomes U+FFFD and decoding goes on", "a\x85" "b\x83\x6c", {"a\uFFFDbネ"}},
        LinesCase{"a lead byte cut off by the line end", "a\x83\r\nb", {"a\uFFFD", "b"}},
        LinesCase{"an empty file has no line", "", {}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

TEST(TextInput, AVeryLongLineStaysLongerThanAny16BitLengthWithoutUnboundedMemory) {
  auto in = tk::TextInput::FromBytes(std::string(200000, 'x') + "\r\nnext");
  EXPECT_GT(in.LineInput().size(), 32767u);
  EXPECT_EQ(tk::ToUtf8(in.LineInput()), "next");
}

}  // namespace
