#pragma once
// --watch: while a page waits for the reader, a change to the script or to a
// picture or tune it names has the page built again from the new script.
// Before that, the story is checked as --check does; a story that now has an
// error keeps the page it shows and has its findings reported instead.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo/story_check.h"
#include "toolkit/file_watcher.h"

namespace script {

class StoryWatcher {
 public:
  using Report = std::function<void(const CheckResult&)>;
  StoryWatcher(std::unique_ptr<tk::FileWatcher> files, CaptionFits fits, Report report);

  // Whether the page showing, which begins at `line`, is to be built again:
  // some file of the story changed since the last call, and the story has no
  // error and still reaches that line. Never blocks. The script is watched
  // from the start; the first call checks the story, silently, to learn
  // which other files to watch.
  bool Changed(long line);
  // Whether the change that Changed answered last touched this file.
  bool Touched(const std::string& name) const;
  // The script's bytes that Changed checked last: the page is built again
  // from these, not from the file, which may have been saved again since.
  const std::string& script() const { return script_; }

 private:
  CheckResult CheckAndWatch();

  std::unique_ptr<tk::FileWatcher> files_;
  CaptionFits fits_;
  Report report_;
  std::vector<std::string> touched_;
  std::string script_;
  bool watching_ = false;
};

}  // namespace script
