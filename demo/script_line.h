#pragma once
// The rules of one script line: command words, the arguments in their fixed
// columns, and the speaker number's numeric value. Lines are decoded text;
// columns count characters from 1.
#include <string>
#include <string_view>

#include "runtime/integer.h"

namespace script {

// The first five characters, upper-cased ("#PAGE", "#MIDI", "#PICT", "#ICON", "#ENDI").
std::u32string CommandWord(std::u32string_view line);

// "#MIDI": columns 8 up to the next-to-last character; empty when too short.
std::u32string MidiName(std::u32string_view line);
// "#PICT": columns 11 up to the next-to-last character; empty when too short.
std::u32string PictureName(std::u32string_view line);
// "#ICON": the numeric value of column 7 on, taken to the nearest integer
// (a half to the even one); raises error 6 outside the 16-bit range.
tk::Integer SpeakerNumber(std::u32string_view line);

// The numeric value of text as the original platform reads it: blanks, tabs
// and line feeds are passed over, the number ends at the first character that
// cannot continue it, &H and &O give hexadecimal and octal, and no number is 0.
double Val(std::u32string_view text);

}  // namespace script
