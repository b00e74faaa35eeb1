#pragma once
// A fresh folder of the test's own, removed with everything in it at the end.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace test_support {

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

}  // namespace test_support
