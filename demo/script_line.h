#pragma once
// The rules of one script line: command words, the arguments in their fixed
// columns, and the speaker number's numeric value. Lines are decoded text;
// columns count characters from 1.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/integer.h"

namespace script {

// A command line begins with "#"; every other line is text.
bool IsCommand(std::u32string_view line);

// Where each command's argument begins.
inline constexpr int kMusicColumn = 8;     // "#MIDI": up to the next-to-last character
inline constexpr int kPictureColumn = 11;  // "#PICT": up to the next-to-last character
inline constexpr int kSpeakerColumn = 7;   // "#ICON": to the end of the line

// What one script line says.
struct Command {
  enum class Kind { kText, kPage, kMusic, kPicture, kSpeaker, kEnd, kUnknown };
  Kind kind = Kind::kText;
  std::string word;         // the first five characters, upper-cased; empty for text
  std::string name;         // kMusic, kPicture: the file named, perhaps empty
  // kSpeaker: the speaker number; nothing when it lies outside the 16-bit range.
  std::optional<rt::Integer> speaker;
};

// The command word decides ("#PAGE", "#MIDI", "#PICT", "#ICON", "#ENDI", in
// any letter case; whatever follows it does not count); the argument comes
// from its columns, empty when the line is too short. The speaker number is
// the numeric value of its columns taken to the nearest integer (a half to
// the even one). Any line parses.
Command ParseLine(std::u32string_view line);

// The numeric value of text as the original platform reads it: blanks, tabs
// and line feeds are passed over, the number ends at the first character that
// cannot continue it, &H and &O give hexadecimal and octal, and no number is 0.
double Val(std::u32string_view text);

}  // namespace script
