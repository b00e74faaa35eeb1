#pragma once
// Sleeps, on a thread of its own, on a folder of device files and on some
// of the devices in it, and says when there is news: an entry of the folder
// created, removed or changed (a device plugged in or out; said again 0.25 s
// and 3.1 s later, for whoever looks at the folder only now and then), or
// input waiting on a watched device (read and dropped here: the device's
// other readers get their own copy). A folder that is not there yet is
// waited for in the folder above it. Nothing of SDL.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/thread.h"
#include "runtime/unique_fd.h"

namespace sdl {

class DeviceWatcher {
 public:
  // on_news runs on the watching thread.
  DeviceWatcher(std::string folder, std::function<void()> on_news);
  ~DeviceWatcher();
  DeviceWatcher(const DeviceWatcher&) = delete;
  DeviceWatcher& operator=(const DeviceWatcher&) = delete;

  // Starts or stops watching a device for input (from any thread).
  void Watch(const std::string& path);
  void Forget(const std::string& path);

 private:
  struct Device {
    std::string path;
    rt::UniqueFd fd;
  };
  struct Request {
    std::string path;
    bool watch;
  };
  void Ask(Request request);
  void WatchFolder();
  void Run();

  const std::string folder_;
  const std::function<void()> on_news_;
  rt::UniqueFd inotify_;
  int folder_watch_ = -1;  // the folder's watch, once it is there
  rt::UniqueFd wake_in_, wake_out_;  // a pipe: requests wait, or the end
  std::mutex lock_;
  std::vector<Request> requests_;
  bool stop_ = false;
  rt::Thread thread_;  // joined: it sleeps in poll, woken by the pipe
};

}  // namespace sdl
