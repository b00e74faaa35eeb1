#include "demo/utf8_script.h"

#include <algorithm>
#include <string>

#include "runtime/cp932.h"
#include "runtime/utf.h"

namespace script {

std::optional<Utf8Script> FindUtf8Script(std::string_view bytes) {
  Utf8Script found;
  found.byte_order_mark = bytes.starts_with("\xEF\xBB\xBF");
  if (!found.byte_order_mark) {
    if (std::all_of(bytes.begin(), bytes.end(), [](unsigned char c) { return c < 0x80; })) return std::nullopt;
    if (rt::ToUtf32(bytes).find(U'\uFFFD') != std::u32string::npos && bytes.find("\xEF\xBF\xBD") == bytes.npos)
      return std::nullopt;  // no UTF-8
  }
  // Lines end at CR LF or CR, as the script's reader has them, or at LF, as
  // the editor that saved the file has them.
  rt::Cp932Decoder cp932;
  for (std::size_t at = 0; at < bytes.size();) {
    ++found.line;
    const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    const std::string_view line = bytes.substr(at, end - at);
    const std::u32string utf8 = rt::ToUtf32(line), shown = cp932.Decode(line);
    const auto differ = std::mismatch(utf8.begin(), utf8.end(), shown.begin(), shown.end()).first;
    if (differ != utf8.end() || utf8.size() != shown.size()) {
      found.column = static_cast<long>(differ - utf8.begin()) + 1;
      return found;
    }
    at = end + (bytes.substr(end).starts_with("\r\n") ? 2 : 1);
  }
  return found;
}

}  // namespace script
