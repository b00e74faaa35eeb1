#pragma once
// Sequential text input of a code page 932 file: open by name, read one line
// at a time, test for the end of the file.
//
// A line ends at CR LF or at a lone CR; a lone LF is an ordinary character of
// its line. Each line is decoded without its line end.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/cp932.h"

namespace rt {

class TextInput {
 public:
  // Opens the named file (relative to the current directory); raises error 53
  // (File not found) when there is none, and 75 (Path/File access error) when
  // it is no regular file or cannot be read.
  explicit TextInput(std::string_view name);
  // Reads from memory instead (tests, fuzzing).
  static TextInput FromBytes(std::string bytes, std::string name = "(memory)");
  // Reads bytes that others share (a script played again from the top).
  static TextInput FromShared(std::shared_ptr<const std::string> bytes, std::string name);
  // All the bytes, read or not.
  const std::shared_ptr<const std::string>& bytes() const { return bytes_; }

  // The next line; raises error 62 (Input past end of file) at the end.
  std::u32string LineInput();
  bool Eof();
  const std::string& name() const { return name_; }
  // Lines read so far (the number of the line LineInput returned last).
  long line_number() const { return line_number_; }

  // A line keeps at most this many bytes; the rest of a longer line is read and
  // dropped, which still leaves it longer than any 16-bit length.
  static constexpr std::size_t kMaxLineBytes = 65536;
  // A longer script is refused with error 7 (Out of memory).
  static constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

 private:
  TextInput(std::shared_ptr<const std::string> bytes, std::string name);
  std::shared_ptr<const std::string> bytes_;
  std::size_t at_ = 0;  // the first byte not yet read
  std::string name_;
  long line_number_ = 0;
  Cp932Decoder decoder_;
};

}  // namespace rt
