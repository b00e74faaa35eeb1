#pragma once
// The signals that ask a program to end: SIGTERM (a logout, kill), SIGINT
// (Ctrl+C) and SIGHUP (a closing terminal, some desktops logging out). They
// are taken by a thread of their own and handed on as a close request, so
// that the process ends through its one way out whatever it is doing at the
// moment, even showing an error report.
#include <atomic>
#include <functional>

#include "runtime/thread.h"

namespace app {

class ExitSignals {
 public:
  // Blocks those of the three signals not ignored at the start (an ignored
  // one stays ignored) in this thread and in every thread started
  // after it (construct it before any other thread starts), and calls
  // `on_signal` on the signals' thread for each one that arrives.
  explicit ExitSignals(std::function<void(int signal)> on_signal);
  ~ExitSignals();
  ExitSignals(const ExitSignals&) = delete;
  ExitSignals& operator=(const ExitSignals&) = delete;

 private:
  std::function<void(int)> on_signal_;
  int wake_ = 0;
  std::atomic<bool> stopping_ = false;
  rt::Thread thread_;  // "signals", joined
};

}  // namespace app
