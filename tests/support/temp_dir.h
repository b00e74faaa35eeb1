#pragma once
// A fresh folder of the test's own, removed with everything in it at the end.
#include <unistd.h>

#include <atomic>
#include <filesystem>
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

}  // namespace testing_support
