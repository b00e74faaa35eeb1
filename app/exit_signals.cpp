#include "app/exit_signals.h"

#include <pthread.h>
#include <signal.h>

namespace app {
namespace {

// The three, less those that were ignored when the program started (nohup
// ignores SIGHUP, a shell's background job SIGINT): those stay ignored. The
// first one taken is the one that wakes the thread at the end.
sigset_t ExitSet(int& wake) {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction now {};
    if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) continue;
    sigaddset(&set, s);
    if (!wake) wake = s;
  }
  return set;
}

}  // namespace

ExitSignals::ExitSignals(std::function<void(int)> on_signal) : on_signal_(std::move(on_signal)) {
  const sigset_t set = ExitSet(wake_);
  if (!wake_) return;  // every one of them ignored: nothing to wait for
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  thread_ = rt::Thread("signals", rt::Thread::End::kJoined, [this, set] {
    for (;;) {
      int signal = 0;
      if (sigwait(&set, &signal) != 0) continue;
      if (stopping_) return;
      on_signal_(signal);
    }
  });
}

ExitSignals::~ExitSignals() {
  if (!wake_) return;
  stopping_ = true;
  pthread_kill(thread_.native_handle(), wake_);
  thread_.Join();
}

}  // namespace app
