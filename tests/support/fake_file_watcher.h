#pragma once
// A file watcher that a test tells what changed.
#include <string>
#include <utility>
#include <vector>

#include "toolkit/file_watcher.h"

namespace testing_support {

class FakeFileWatcher final : public tk::FileWatcher {
 public:
  // What the next Changed() answers.
  std::vector<std::string> changed;
  std::vector<std::string> watched;

  void Watch(const std::vector<std::string>& names) override { watched = names; }
  std::vector<std::string> Changed() override { return std::exchange(changed, {}); }
};

}  // namespace testing_support
