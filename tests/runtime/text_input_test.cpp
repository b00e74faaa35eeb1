// Sequential input of code page 932 text: the line rules and the end of file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

#include "runtime/cp932.h"
#include "runtime/integer.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"

namespace {

TEST(TextInput, SplitsAndDecodesLinesLikeTheOriginal) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;  // UTF-8
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"no line end at the end", "a\r\nb", {"a", "b"}},
      {"a lone CR ends a line", "a\rb\r", {"a", "b"}},
      {"a lone LF belongs to its line", "a\nb\r\nc", {"a\nb", "c"}},
      {"empty lines", "\r\n\r\n#ENDI", {"", "", "#ENDI"}},
      {"CR CR LF", "a\r\r\n", {"a", ""}},
      {"Shift_JIS", "\x83\x6c\x83\x74\x83\x42\r\n", {"ネフィ"}},
      {"Microsoft's table: wave dash", "\x81\x60", {"～"}},
      {"a bad byte becomes U+FFFD and decoding goes on", "a\x85" "b\x83\x6c", {"a\uFFFDbネ"}},
      {"a lead byte cut off by the line end", "a\x83\r\nb", {"a\uFFFD", "b"}},
      {"an empty file has no line", "", {}},
  };
  for (const auto& c : cases) {
    auto in = rt::TextInput::FromBytes(c.bytes);
    std::vector<std::string> got;
    while (!in.Eof()) got.push_back(rt::ToUtf8(in.LineInput()));
    EXPECT_EQ(got, c.lines) << c.what;
    EXPECT_THROW(in.LineInput(), rt::RuntimeError) << c.what << ": a line read past the end";
  }
}

// Python's cp932 codec is Microsoft's table: every single byte and every
// lead-and-trail pair decodes as it says, a bad byte to U+FFFD.
TEST(Cp932, DecodesEveryByteAndPairAsPythonsCodecDoes) {
  FILE* python = ::popen(
      "/usr/bin/python3 -c \"import sys\n"
      "for i in range(256 + 65536):\n"
      "    b = bytes([i]) if i < 256 else bytes([(i - 256) >> 8, (i - 256) & 255])\n"
      "    sys.stdout.write(' '.join('%x' % ord(c) for c in b.decode('cp932', 'replace')) + '\\n')\"",
      "r");
  ASSERT_TRUE(python);
  rt::Cp932Decoder decoder;
  int compared = 0, differing = 0;
  char line[64];
  for (int i = 0; std::fgets(line, sizeof line, python); ++i) {
    std::u32string expected;
    for (char* p = line; *p && *p != '\n';) expected += static_cast<char32_t>(std::strtoul(p, &p, 16));
    const std::string bytes = i < 256 ? std::string(1, static_cast<char>(i))
                                      : std::string{static_cast<char>((i - 256) >> 8), static_cast<char>(i - 256)};
    if (decoder.Decode(bytes) != expected && ++differing <= 5) ADD_FAILURE() << "code " << std::hex << i;
    ++compared;
  }
  ::pclose(python);
  EXPECT_EQ(compared, 256 + 65536);
  EXPECT_EQ(differing, 0);
}

// The script is read from regular files only; anything else is refused at
// once with an error number, never a hang or an escaped exception.
TEST(TextInput, OpensRegularFilesOnlyAndReportsEveryFileError) {
  testing_support::TempDir dir("text_input");
  const auto p = [&](const char* name) { return (dir.path() / name).string(); };
  std::ofstream(p("plain.dat")) << "a\r\n";
  ASSERT_EQ(::mkfifo(p("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", p("zero"));
  std::filesystem::create_symlink(p("loop"), p("loop"));
  std::filesystem::create_directory(p("folder"));
  const std::pair<std::string, int> cases[] = {
      {p("plain.dat"), 0},       {p("missing.dat"), rt::kFileNotFound}, {p("fifo"), rt::kPathFileAccessError},
      {p("zero"), rt::kPathFileAccessError}, {p("loop"), rt::kPathFileAccessError},
      {p("folder"), rt::kPathFileAccessError},
  };
  for (const auto& [name, number] : cases) {
    try {
      rt::TextInput in(name);
      EXPECT_EQ(number, 0) << name;
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), number) << name;
      EXPECT_EQ(e.where(), name);
    }
  }
}

// The language's 16-bit arithmetic: a result past either bound is error 6,
// and conversions round half to even.
TEST(Integers, OverflowAtTheSixteenBitBoundsAndRoundingHalfToEven) {
  const auto overflows = [](auto f) {
    try {
      f();
      return false;
    } catch (const rt::RuntimeError& e) {
      return e.number() == rt::kOverflow;
    }
  };
  EXPECT_EQ(rt::AddInteger(32766, 1), 32767);
  EXPECT_EQ(rt::AddInteger(-32767, -1), -32768);
  EXPECT_TRUE(overflows([] { rt::AddInteger(32767, 1); }));
  EXPECT_TRUE(overflows([] { rt::AddInteger(-32768, -1); }));
  EXPECT_EQ(rt::CInt(2.5), 2);
  EXPECT_EQ(rt::CInt(3.5), 4);
  EXPECT_EQ(rt::CInt(32767.4), 32767);
  EXPECT_TRUE(overflows([] { rt::CInt(32767.5); }));
  EXPECT_TRUE(overflows([] { rt::CLng(2147483648.0); }));
}

}  // namespace
