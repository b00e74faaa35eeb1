#include "toolkit/inotify_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <system_error>

#include "runtime/file_names.h"

namespace tk {
namespace {

// Written and closed, or moved in: the file's new contents are all there.
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO;

}  // namespace

InotifyWatcher::InotifyWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_.get() < 0) throw std::system_error(errno, std::generic_category(), "inotify");
}

void InotifyWatcher::Watch(const std::vector<std::string>& names) {
  watched_.clear();
  for (const std::string& name : names) {
    std::string text = name;
    std::replace(text.begin(), text.end(), '\\', '/');
    const auto slash = text.rfind('/');
    const std::string entry = slash == std::string::npos ? text : text.substr(slash + 1);
    if (entry.empty() || std::any_of(watched_.begin(), watched_.end(), [&](const Watched& w) { return w.name == name; }))
      continue;
    std::string folder = ".";
    if (slash == 0) {
      folder = "/";
    } else if (slash != std::string::npos) {
      const auto found = rt::ResolveName(text.substr(0, slash));
      if (!found) continue;  // no folder to watch yet
      folder = found->string();
    }
    // A folder watched already keeps its descriptor.
    const int wd = ::inotify_add_watch(fd_.get(), folder.c_str(), kMask);
    if (wd < 0) continue;
    folders_[wd] = folder;
    watched_.push_back({wd, rt::Lower(entry), name});
  }
}

std::vector<std::string> InotifyWatcher::Changed() {
  std::set<std::size_t> hit;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
    if (n <= 0) break;  // nothing more for now (EAGAIN), or nothing at all
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      for (std::size_t i = 0; i < watched_.size(); ++i) {
        const Watched& w = watched_[i];
        if (e->mask & IN_Q_OVERFLOW) {
          hit.insert(i);  // events were lost: anything may have changed
          continue;
        }
        if (w.folder != e->wd || e->len == 0) continue;
        const std::string entry = e->name;
        if (rt::Lower(entry) == w.entry) {
          hit.insert(i);
        } else if (const auto path = rt::ResolveName(w.name); path && path->filename() == entry) {
          hit.insert(i);  // found by a rule of the name lookup beyond letter case
        }
      }
    }
  }
  std::vector<std::string> changed;
  for (std::size_t i : hit) changed.push_back(watched_[i].name);
  return changed;
}

}  // namespace tk
