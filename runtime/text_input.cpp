#include "runtime/text_input.h"

#include <algorithm>
#include <vector>

#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"

namespace rt {

TextInput::TextInput(std::shared_ptr<const std::string> bytes, std::string name)
    : bytes_(std::move(bytes)), name_(std::move(name)) {}

TextInput::TextInput(std::string_view name) : name_(name) {
  const auto path = ResolveName(name);
  if (!path) throw RuntimeError(kFileNotFound, name_, 0);
  std::vector<unsigned char> bytes;
  if (const int error = ReadRegularFile(*path, kMaxFileBytes, bytes)) throw RuntimeError(error, name_, 0);
  bytes_ = std::make_shared<const std::string>(bytes.begin(), bytes.end());
}

TextInput TextInput::FromBytes(std::string bytes, std::string name) {
  return TextInput(std::make_shared<const std::string>(std::move(bytes)), std::move(name));
}

TextInput TextInput::FromShared(std::shared_ptr<const std::string> bytes, std::string name) {
  return TextInput(std::move(bytes), std::move(name));
}

bool TextInput::Eof() { return at_ >= bytes_->size(); }

std::u32string TextInput::LineInput() {
  if (Eof()) throw RuntimeError(kInputPastEndOfFile, name_, line_number_ + 1);
  const std::string_view all(*bytes_);
  const std::size_t end = std::min(all.find('\r', at_), all.size());
  const std::string_view line = all.substr(at_, std::min(end - at_, kMaxLineBytes));
  at_ = end + (end < all.size() ? 1 : 0);
  if (end < all.size() && at_ < all.size() && all[at_] == '\n') ++at_;
  ++line_number_;
  return decoder_.Decode(line);
}

}  // namespace rt
