#pragma once
// Recognises a script saved in UTF-8 (as most Linux editors save text) where
// code page 932 is expected: it has a UTF-8 byte-order mark, or it is valid
// UTF-8 with characters beyond ASCII. Such a script reads as garbled text.
#include <optional>
#include <string_view>

namespace script {

struct Utf8Script {
  bool byte_order_mark = false;
  long line = 0;    // the first line whose two readings differ (LF ends a line too)
  long column = 0;  // and the first character there that differs, counted in UTF-8
};

std::optional<Utf8Script> FindUtf8Script(std::string_view bytes);

}  // namespace script
