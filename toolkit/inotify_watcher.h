#pragma once
// The file watcher over Linux's inotify: the folder of every watched name is
// watched, and a file written and closed there, or moved there (as editors
// that save through a new file do), counts when its name matches one watched.
// A folder that is not there yet, or is deleted and made again, is watched
// once it is there, and its names count as changed; a story folder made
// again at its old path is entered again, and everything counts as changed.
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
    int folder;          // the watch of its folder; -1 while it is not there
    std::string entry;   // its last part, lower case
    std::string name;    // as given
    std::string parent;  // the part before its last "/" ("\" turned "/"), "" in the story folder
    bool rooted = false; // "/" was its first character
  };
  // The folder of a name, found as the name lookup finds it, watched: its
  // watch, or -1.
  int WatchFolder(const Watched& w);
  // Folders gone or not yet there, looked for again: true for each name
  // whose folder is watched now.
  void Rewatch(std::vector<bool>& hit);

  rt::UniqueFd fd_;
  std::vector<Watched> watched_;
  std::string story_;               // the story folder, where the program was when it began to watch
  unsigned long long story_id_ = 0;  // its inode
  std::vector<std::string> names_;  // as last given to Watch
};

}  // namespace tk
