#include "toolkit/text_layout.h"

#include <linebreak.h>

#include <mutex>

namespace tk {
namespace {

struct Marked {
  std::u32string text;
  std::vector<bool> underline;
};

// Removes the access-key ampersands, remembering what they underline.
Marked StripAmpersands(std::u32string_view caption) {
  Marked out;
  bool pending = false;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char32_t c = caption[i];
    if (c == U'&' && !pending) {
      if (i + 1 < caption.size() && caption[i + 1] == U'&') {
        out.text += U'&';
        out.underline.push_back(false);
        ++i;
      } else {
        pending = true;
      }
      continue;
    }
    out.text += c;
    out.underline.push_back(pending);
    pending = false;
  }
  return out;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }

void Emit(const Marked& m, std::size_t begin, std::size_t end, std::vector<TextLine>& out) {
  while (end > begin && IsBlank(m.text[end - 1])) --end;  // blanks at a break hang
  TextLine line;
  line.text = m.text.substr(begin, end - begin);
  for (std::size_t i = begin; i < end; ++i)
    if (m.underline[i]) line.underlined.push_back(i - begin);
  out.push_back(std::move(line));
}

void Wrap(const Marked& m, std::size_t begin, std::size_t end, int width, const MeasureText& measure,
          std::vector<TextLine>& out) {
  if (begin == end) {
    out.push_back({});
    return;
  }
  static std::once_flag once;
  std::call_once(once, init_linebreak);
  const std::u32string_view para(m.text.data() + begin, end - begin);
  std::vector<char> breaks(para.size());
  set_linebreaks_utf32(reinterpret_cast<const utf32_t*>(para.data()), para.size(), "ja", breaks.data());

  std::size_t start = 0;
  while (start < para.size()) {
    // Take characters while the line fits; break at the last opportunity
    // before it overflows. A word with no opportunity inside it stays whole
    // and runs past the edge, where the label cuts it off.
    std::size_t cut = para.size();
    std::size_t last_break = std::u32string_view::npos;  // a break is allowed after this index
    for (std::size_t i = start; i < para.size(); ++i) {
      std::size_t stop = i + 1;
      while (stop > start && IsBlank(para[stop - 1])) --stop;
      if (last_break != std::u32string_view::npos && measure(para.substr(start, stop - start)) > width) {
        cut = last_break + 1;
        break;
      }
      if (breaks[i] == LINEBREAK_ALLOWBREAK) last_break = i;
    }
    Emit(m, begin + start, begin + cut, out);
    start = cut;
  }
}

}  // namespace

std::vector<TextLine> LayoutText(std::u32string_view caption, int width, const MeasureText& measure) {
  const Marked m = StripAmpersands(caption);
  std::vector<TextLine> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= m.text.size(); ++i) {
    if (i < m.text.size() && m.text[i] != U'\r' && m.text[i] != U'\n') continue;
    Wrap(m, start, i, width, measure, out);
    if (i + 1 < m.text.size() && m.text[i] == U'\r' && m.text[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  return out;
}

}  // namespace tk
