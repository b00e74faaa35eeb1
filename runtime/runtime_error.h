#pragma once
// Run-time errors: an error that no code traps ends the process with the
// toolkit's standard report (number, description, and where it arose).
#include <stdexcept>
#include <string>

namespace tk {

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
  RuntimeError(int number, std::string where);
  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& where() const { return where_; }
  // Adds where the failing operation was called from ("Rodevez2E.dat, line 12").
  void AddPlace(const std::string& place);

 private:
  int number_;
  std::string description_;
  std::string where_;
};

[[noreturn]] void Raise(int number, const std::string& where = {});

// Thrown by End: the process stops at once, running no handler on the way out.
struct ProcessEnd {};

}  // namespace tk
