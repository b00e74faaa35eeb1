#pragma once
// Decoding of code page 932 (Shift_JIS as Windows has it) to Unicode.
#include <iconv.h>

#include <string>
#include <string_view>

namespace rt {

class Cp932Decoder {
 public:
  Cp932Decoder();
  ~Cp932Decoder();
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  // Decodes as Microsoft's table does (0x80, 0xA0 and 0xFD to 0xFF included).
  // An invalid byte, or a lead byte cut off at the end, becomes U+FFFD and the
  // decoding goes on with the next byte.
  std::u32string Decode(std::string_view bytes);

 private:
  iconv_t cd_;
};

}  // namespace rt
