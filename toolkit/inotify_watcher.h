#pragma once
// The file watcher over Linux's inotify: the folder of every watched name is
// watched, and a file written and closed there, or moved there (as editors
// that save through a new file do), counts when its name matches one watched.
#include <map>
#include <string>
#include <vector>

#include "runtime/unique_fd.h"
#include "toolkit/file_watcher.h"

namespace tk {

class InotifyWatcher final : public FileWatcher {
 public:
  // Throws std::system_error when the kernel gives no inotify instance.
  InotifyWatcher();
  InotifyWatcher(const InotifyWatcher&) = delete;
  InotifyWatcher& operator=(const InotifyWatcher&) = delete;

  void Watch(const std::vector<std::string>& names) override;
  std::vector<std::string> Changed() override;

 private:
  struct Watched {
    int folder;          // the watch of its folder
    std::string entry;   // its last part, lower case
    std::string name;    // as given
  };
  rt::UniqueFd fd_;
  std::map<int, std::string> folders_;  // watch descriptor: the folder's path
  std::vector<Watched> watched_;
};

}  // namespace tk
