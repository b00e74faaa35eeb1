#include "platform/sdl/device_watcher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>

namespace sdl {
namespace {

using Clock = std::chrono::steady_clock;

// Reads whatever waits on a descriptor and drops it; false when the device is
// gone (end of file, or an error other than "nothing more").
bool Drain(int fd) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) continue;
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

}  // namespace

DeviceWatcher::DeviceWatcher(std::string folder, std::function<void()> on_news)
    : folder_(std::move(folder)), on_news_(std::move(on_news)) {
  inotify_ = rt::UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  int pipe[2];
  if (::pipe2(pipe, O_NONBLOCK | O_CLOEXEC) == 0) wake_out_ = rt::UniqueFd(pipe[0]), wake_in_ = rt::UniqueFd(pipe[1]);
  // Watched before the thread starts: a change right after the start is news too.
  WatchFolder();
  thread_ = rt::Thread("device watcher", rt::Thread::End::kJoined, [this] { Run(); });
}

DeviceWatcher::~DeviceWatcher() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stop_ = true;
  }
  (void)!::write(wake_in_.get(), "", 1);
  thread_.Join();
}

void DeviceWatcher::Watch(const std::string& path) { Ask({path, true}); }
void DeviceWatcher::Forget(const std::string& path) { Ask({path, false}); }

void DeviceWatcher::Ask(Request request) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    requests_.push_back(std::move(request));
  }
  (void)!::write(wake_in_.get(), "", 1);
}

void DeviceWatcher::WatchFolder() {
  constexpr auto kChanges = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM;
  if (inotify_.get() < 0 || folder_watch_ >= 0) return;
  folder_watch_ = ::inotify_add_watch(inotify_.get(), folder_.c_str(), kChanges);
  const std::string parent = std::filesystem::path(folder_).parent_path().string();
  if (folder_watch_ < 0 && !parent.empty()) ::inotify_add_watch(inotify_.get(), parent.c_str(), IN_CREATE | IN_MOVED_TO);
}

void DeviceWatcher::Run() {
  std::vector<Device> devices;
  std::vector<Clock::time_point> again;  // when to say a folder change once more
  for (;;) {
    std::vector<pollfd> fds{{wake_out_.get(), POLLIN, 0}, {inotify_.get(), POLLIN, 0}};
    for (const Device& d : devices) fds.push_back({d.fd.get(), POLLIN, 0});
    int timeout = -1;
    if (!again.empty()) {
      const auto next = *std::min_element(again.begin(), again.end());
      timeout = static_cast<int>(
          std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count()));
    }
    if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
    bool news = false;
    if (fds[0].revents) {
      Drain(wake_out_.get());
      std::vector<Request> requests;
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (stop_) break;
        requests.swap(requests_);
      }
      for (const Request& r : requests) {
        std::erase_if(devices, [&](const Device& d) { return d.path == r.path; });
        if (!r.watch) continue;
        rt::UniqueFd fd(::open(r.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() >= 0) devices.push_back({r.path, std::move(fd)});
      }
    }
    if (fds[1].revents) {
      Drain(inotify_.get());
      WatchFolder();  // the folder may have come now
      const auto now = Clock::now();
      again = {now + std::chrono::milliseconds(250), now + std::chrono::milliseconds(3100)};
      news = true;
    }
    const auto now = Clock::now();
    if (std::erase_if(again, [&](Clock::time_point t) { return t <= now; }) > 0) news = true;
    // A device with input is read dry; one that is gone (unplugged) is let go.
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      news = true;
      const bool alive = !(fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) && Drain(fds[i].fd);
      if (alive) continue;
      std::erase_if(devices, [&](const Device& d) { return d.fd.get() == fds[i].fd; });
    }
    if (news) on_news_();
  }
}

}  // namespace sdl
