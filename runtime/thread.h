#pragma once
// The one way the program starts a thread. Each thread has a name, which
// `top -H`, /proc and a debugger show, and says when it starts how it ends:
//
//   kJoined     its owner tells it to stop and waits for it; it must never
//               block for long, so that waiting for it is always short.
//   kAbandoned  it runs a call that cannot be interrupted (a SoundFont read
//               from a slow disk, a decoder, a library's blocking wait); nobody
//               ever waits for it. It holds what it needs by shared ownership,
//               and the process may end while it runs.
//
// Every thread is in the README's table of threads.
#include <functional>
#include <thread>

namespace rt {

class Thread {
 public:
  enum class End { kJoined, kAbandoned };

  Thread() = default;
  // Starts `body` at once on a thread called `name` (at most 15 characters,
  // as the kernel keeps them).
  Thread(const char* name, End end, std::function<void()> body);
  // A joined thread is waited for; an abandoned one is let go.
  ~Thread();
  Thread(Thread&& other) noexcept = default;
  Thread& operator=(Thread&& other) noexcept;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  std::thread::native_handle_type native_handle() { return thread_.native_handle(); }
  // Waits for a joined thread now; nothing for an abandoned one.
  void Join();

 private:
  End end_ = End::kJoined;
  std::thread thread_;
};

}  // namespace rt
