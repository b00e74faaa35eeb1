#include "runtime/cp932.h"

#include <cerrno>
#include <stdexcept>

namespace rt {
namespace {

// Single bytes that Microsoft's table maps and glibc's does not.
char32_t MicrosoftSingleByte(unsigned char b) {
  switch (b) {
    case 0x80: return U'\u0080';
    case 0xA0: return U'\uF8F0';
    case 0xFD: return U'\uF8F1';
    case 0xFE: return U'\uF8F2';
    case 0xFF: return U'\uF8F3';
    default: return U'\uFFFD';
  }
}

}  // namespace

Cp932Decoder::Cp932Decoder() : cd_(iconv_open("UTF-32LE", "CP932")) {
  if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932 converter");
}

Cp932Decoder::~Cp932Decoder() { iconv_close(cd_); }

std::u32string Cp932Decoder::Decode(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char buffer[1024];
  while (in_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    const std::size_t r = iconv(cd_, &in, &in_left, &dst, &dst_left);
    const int err = r == static_cast<std::size_t>(-1) ? errno : 0;
    for (const char* p = buffer; p + 4 <= dst; p += 4) {
      const auto* u = reinterpret_cast<const unsigned char*>(p);
      out += static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<unsigned>(u[3]) << 24));
    }
    if (err == EILSEQ || err == EINVAL) {
      out += MicrosoftSingleByte(static_cast<unsigned char>(*in));
      ++in;
      --in_left;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    } else if (err != 0 && err != E2BIG) {
      break;
    }
  }
  return out;
}

}  // namespace rt
