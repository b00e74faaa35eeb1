#include "runtime/runtime_error.h"

namespace rt {

std::string StandardDescription(int number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 62: return "Input past end of file";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 380: return "Invalid property value";
    case 481: return "Invalid picture";
    default: return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number, std::string place)
    : std::runtime_error(StandardDescription(number)),
      number_(number),
      description_(StandardDescription(number)),
      place_(std::move(place)) {}

RuntimeError::RuntimeError(int number, std::string file, long line) : RuntimeError(number) {
  file_ = std::move(file);
  line_ = line;
}

void RuntimeError::AddFileLine(const std::string& file, long line) {
  if (!file_.empty()) return;
  file_ = file;
  line_ = line;
}

std::string RuntimeError::where() const {
  std::string in = file_;
  if (line_ > 0) in += ", line " + std::to_string(line_);
  if (place_.empty()) return in;
  return in.empty() ? place_ : place_ + " (" + in + ")";
}

void Raise(int number, const std::string& place) { throw RuntimeError(number, place); }

}  // namespace rt
