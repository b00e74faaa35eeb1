#pragma once
// Run-time errors: an error that no code traps ends the process with the
// toolkit's standard report (number, description, and where it arose).
#include <stdexcept>
#include <string>

namespace rt {

inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kInputPastEndOfFile = 62;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kInvalidPicture = 481;

// The toolkit's standard description of an error number.
std::string StandardDescription(int number);

class RuntimeError : public std::runtime_error {
 public:
  // `place` names what failed, when it is no line of a file ("the screen size").
  explicit RuntimeError(int number, std::string place = {});
  // An error that arose reading `file` at `line` (from 1; 0: the file as a whole).
  RuntimeError(int number, std::string file, long line);

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& place() const { return place_; }
  const std::string& file() const { return file_; }
  long line() const { return line_; }
  // Names the file and line the failing operation was called from, unless
  // the error names a file already.
  void AddFileLine(const std::string& file, long line);
  // Where it arose, as the report shows it: the place, the file and line, or
  // both ("picture.bmp (story.dat, line 12)").
  std::string where() const;

 private:
  int number_;
  std::string description_;
  std::string place_;
  std::string file_;
  long line_ = 0;
};

[[noreturn]] void Raise(int number, const std::string& place = {});

// Thrown by End: the process stops at once, running no handler on the way out.
struct ProcessEnd {};

}  // namespace rt
