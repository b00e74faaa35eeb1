#pragma once
// How a label lays out its caption: CR LF (or a lone CR or LF) starts a new
// line; a line wider than the label wraps by the Unicode line-breaking rules
// (Japanese between characters, Latin words at blanks, never after an opening
// bracket nor before "。" or a closing one; a word wider than the label stays
// whole and is cut off at its edge); a single "&" is hidden and underlines the character after
// it, and "&&" shows one "&".
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

struct TextLine {
  std::u32string text;
  std::vector<std::size_t> underlined;  // indices into text
};

// Width in pixels of a run of text.
using MeasureText = std::function<int(std::u32string_view)>;

// Lines of the caption for a label `width` pixels wide.
std::vector<TextLine> LayoutText(std::u32string_view caption, int width, const MeasureText& measure);

}  // namespace tk
