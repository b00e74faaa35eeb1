#pragma once
// A fresh folder of the test's own, removed with everything in it at the end;
// the current directory and the environment changed for a scope; what is
// printed into a stream.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace testing_support {

class TempDir {
 public:
  explicit TempDir(const std::string& what) {
    static std::atomic<int> count{0};
    path_ = std::filesystem::temp_directory_path() /
            ("radaded_" + what + "_" + std::to_string(::getpid()) + "_" + std::to_string(count++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Makes a folder the current directory until the end of the scope.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InDirectory() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
  }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path old_;
};

// Sets an environment variable (or, with null, removes it) until the end of
// the scope, then puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// What `print` writes into a stream it is given, as text.
inline std::string Printed(const std::function<void(std::FILE*)>& print) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&text, &size);
  print(stream);
  std::fclose(stream);
  std::string out(text, size);
  std::free(text);
  return out;
}

}  // namespace testing_support
