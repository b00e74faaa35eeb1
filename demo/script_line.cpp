#include "demo/script_line.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "runtime/runtime_error.h"
#include "runtime/utf.h"

namespace script {
namespace {

std::u32string_view Columns(std::u32string_view line, std::size_t first, bool drop_last) {
  if (drop_last && !line.empty()) line.remove_suffix(1);
  if (line.size() < first) return {};
  return line.substr(first - 1);
}

bool Skipped(char32_t c) { return c == U' ' || c == U'\t' || c == U'\n'; }

}  // namespace

bool IsCommand(std::u32string_view line) { return !line.empty() && line[0] == U'#'; }

Command ParseLine(std::u32string_view line) {
  using Kind = Command::Kind;
  Command command;
  if (!IsCommand(line)) return command;
  std::u32string word(line.substr(0, 5));
  for (char32_t& c : word)
    if (c >= U'a' && c <= U'z') c -= 32;
  command.word = rt::ToUtf8(word);
  if (word == U"#PAGE") {
    command.kind = Kind::kPage;
  } else if (word == U"#MIDI") {
    command.kind = Kind::kMusic;
    command.name = rt::ToUtf8(Columns(line, kMusicColumn, true));
  } else if (word == U"#PICT") {
    command.kind = Kind::kPicture;
    command.name = rt::ToUtf8(Columns(line, kPictureColumn, true));
  } else if (word == U"#ICON") {
    command.kind = Kind::kSpeaker;
    try {
      command.speaker = rt::CInt(Val(Columns(line, kSpeakerColumn, false)));
    } catch (const rt::RuntimeError&) {
      // an overflow: no 16-bit number
    }
  } else if (word == U"#ENDI") {
    command.kind = Kind::kEnd;
  } else {
    command.kind = Kind::kUnknown;
  }
  return command;
}

double Val(std::u32string_view text) {
  std::string s;  // the characters that count, in ASCII
  for (char32_t c : text) {
    if (Skipped(c)) continue;
    if (c >= 0x80) break;
    s += static_cast<char>(c);
  }
  std::size_t i = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    // Hexadecimal and octal give a 16-bit signed value when the digits fit in
    // 16 bits (&HFFFF is -1), a 32-bit signed one when they fit in 32
    // (&HFFFFFFFF is -1), and overflow beyond.
    const unsigned base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    std::uint64_t value = 0;
    for (i = 2; i < s.size(); ++i) {
      const char c = s[i];
      unsigned digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
      if (digit >= base) break;
      value = value * base + digit;
      if (value > 0xFFFFFFFFu) rt::Raise(rt::kOverflow);
    }
    if (value <= 0xFFFF) return static_cast<std::int16_t>(value);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      number += s[i];
      digits = true;
    } else if (s[i] == '.' && !point) {
      number += '.';
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    const std::size_t start = j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++];
    if (j > start) number += exponent;
  }
  const double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) rt::Raise(rt::kOverflow);
  return value;
}

}  // namespace script
