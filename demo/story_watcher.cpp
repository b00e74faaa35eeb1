#include "demo/story_watcher.h"

#include <algorithm>

#include "demo/start_line.h"
#include "demo/story_files.h"

namespace script {

StoryWatcher::StoryWatcher(std::unique_ptr<tk::FileWatcher> files, CaptionFits fits, Report report)
    : files_(std::move(files)), fits_(std::move(fits)), report_(std::move(report)) {
  files_->Watch({kScriptFile});  // at once; the files it names once it plays
}

CheckResult StoryWatcher::CheckAndWatch() {
  CheckResult result = CheckStory(fits_);
  // The script may now name other files.
  std::vector<std::string> names = {kScriptFile};
  names.insert(names.end(), result.files.begin(), result.files.end());
  files_->Watch(names);
  return result;
}

bool StoryWatcher::Changed(long line) {
  if (!watching_) {
    // Once the first page is on the screen: which other files to watch.
    watching_ = true;
    CheckAndWatch();
    return false;
  }
  touched_ = files_->Changed();
  if (touched_.empty()) return false;
  CheckResult result = CheckAndWatch();
  if (auto problem = CheckStartLine(line, result.script)) result.findings.insert(result.findings.begin(), std::move(*problem));
  if (!result.HasError()) {
    script_ = std::move(result.script);
    return true;
  }
  report_(result);
  return false;
}

bool StoryWatcher::Touched(const std::string& name) const {
  return std::find(touched_.begin(), touched_.end(), name) != touched_.end();
}

}  // namespace script
