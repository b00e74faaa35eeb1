#include "runtime/text_input.h"

#include <sstream>
#include <vector>

#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"

namespace rt {
namespace {
constexpr int kEof = std::char_traits<char>::eof();
}

TextInput::TextInput(std::unique_ptr<std::streambuf> buffer, std::string name)
    : buffer_(std::move(buffer)), name_(std::move(name)) {}

TextInput::TextInput(std::string_view name) : name_(name) {
  const auto path = ResolveName(name);
  if (!path) throw RuntimeError(kFileNotFound, name_, 0);
  std::vector<unsigned char> bytes;
  if (const int error = ReadRegularFile(*path, kMaxFileBytes, bytes)) throw RuntimeError(error, name_, 0);
  buffer_ = std::make_unique<std::stringbuf>(std::string(bytes.begin(), bytes.end()), std::ios::in);
}

TextInput TextInput::FromBytes(std::string bytes, std::string name) {
  return TextInput(std::make_unique<std::stringbuf>(std::move(bytes), std::ios::in), std::move(name));
}

bool TextInput::Eof() { return buffer_->sgetc() == kEof; }

std::u32string TextInput::LineInput() {
  if (Eof()) throw RuntimeError(kInputPastEndOfFile, name_, line_number_ + 1);
  std::string bytes;
  for (int c = buffer_->sbumpc(); c != kEof; c = buffer_->sbumpc()) {
    if (c == '\r') {
      if (buffer_->sgetc() == '\n') buffer_->sbumpc();
      break;
    }
    if (bytes.size() < kMaxLineBytes) bytes += static_cast<char>(c);
  }
  ++line_number_;
  return decoder_.Decode(bytes);
}

}  // namespace rt
