#pragma once
// What tells the program that files changed on disk, for a story that is
// being written while it plays: the real one asks the kernel (inotify), tests
// put a scripted one in its place. Nothing blocks: the program asks on every
// pass of a wait it makes anyway.
#include <string>
#include <vector>

namespace tk {

class FileWatcher {
 public:
  virtual ~FileWatcher() = default;
  // Watches these names from now on, instead of those watched before: the
  // system's file names (relative to the current directory, "\" between
  // folders, letter case forgiven), whether their files exist yet or not.
  virtual void Watch(const std::vector<std::string>& names) = 0;
  // The watched names whose files were written or replaced since the last
  // call, each once, in the order of Watch; never blocks.
  virtual std::vector<std::string> Changed() = 0;
};

}  // namespace tk
