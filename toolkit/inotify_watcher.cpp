#include "toolkit/inotify_watcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/file_names.h"

namespace tk {
namespace {

// Written and closed, or moved in: the file's new contents are all there.
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO;

unsigned long long InodeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_ino) : 0;
}

}  // namespace

InotifyWatcher::InotifyWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_.get() < 0) throw std::system_error(errno, std::generic_category(), "inotify");
  std::error_code ec;
  story_ = std::filesystem::current_path(ec).string();
  story_id_ = InodeOf(".");
}

int InotifyWatcher::WatchFolder(const Watched& w) {
  std::string folder = w.rooted ? "/" : ".";
  if (!w.parent.empty()) {
    const auto found = rt::ResolveName(w.parent);
    if (!found) return -1;  // no folder to watch yet
    folder = found->string();
  }
  // A folder watched already keeps its descriptor.
  return ::inotify_add_watch(fd_.get(), folder.c_str(), kMask);
}

void InotifyWatcher::Watch(const std::vector<std::string>& names) {
  names_ = names;
  watched_.clear();
  for (const std::string& name : names) {
    std::string text = name;
    std::replace(text.begin(), text.end(), '\\', '/');
    const auto slash = text.rfind('/');
    const std::string entry = slash == std::string::npos ? text : text.substr(slash + 1);
    if (entry.empty() || std::any_of(watched_.begin(), watched_.end(), [&](const Watched& w) { return w.name == name; }))
      continue;
    Watched w{-1, rt::Lower(entry), name, slash == std::string::npos ? "" : text.substr(0, slash), slash == 0};
    w.folder = WatchFolder(w);
    watched_.push_back(std::move(w));
  }
}

void InotifyWatcher::Rewatch(std::vector<bool>& hit) {
  for (std::size_t i = 0; i < watched_.size(); ++i) {
    if (watched_[i].folder >= 0) continue;
    watched_[i].folder = WatchFolder(watched_[i]);
    if (watched_[i].folder >= 0) hit[i] = true;  // its file may be there now
  }
}

std::vector<std::string> InotifyWatcher::Changed() {
  // The story folder made again where it was: the program goes into the new
  // one, and everything is read again.
  if (const auto id = InodeOf(story_); !story_.empty() && id && id != story_id_ && ::chdir(story_.c_str()) == 0) {
    story_id_ = id;
    fd_ = rt::UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    Watch(names_);
    std::vector<std::string> all;
    for (const Watched& w : watched_) all.push_back(w.name);
    return all;
  }
  std::vector<bool> hit(watched_.size(), false);
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
    if (n <= 0) break;  // nothing more for now (EAGAIN), or nothing at all
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      for (std::size_t i = 0; i < watched_.size(); ++i) {
        Watched& w = watched_[i];
        if (e->mask & IN_Q_OVERFLOW) {
          hit[i] = true;  // events were lost: anything may have changed
          continue;
        }
        if (w.folder != e->wd) continue;
        if (e->mask & IN_IGNORED) {
          w.folder = -1;  // the folder is gone: looked for again below
          continue;
        }
        if (e->len == 0) continue;
        const std::string entry = e->name;
        if (rt::Lower(entry) == w.entry) {
          hit[i] = true;
        } else if (const auto path = rt::ResolveName(w.name); path && path->filename() == entry) {
          hit[i] = true;  // found by a rule of the name lookup beyond letter case
        }
      }
    }
  }
  Rewatch(hit);
  std::vector<std::string> changed;
  for (std::size_t i = 0; i < watched_.size(); ++i)
    if (hit[i]) changed.push_back(watched_[i].name);
  return changed;
}

}  // namespace tk
