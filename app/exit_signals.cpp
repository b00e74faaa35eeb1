#include "app/exit_signals.h"

#include <pthread.h>
#include <signal.h>

namespace app {
namespace {

sigset_t ExitSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, s);
  return set;
}

}  // namespace

ExitSignals::ExitSignals(std::function<void(int)> on_signal) : on_signal_(std::move(on_signal)) {
  const sigset_t set = ExitSet();
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
  stopping_ = true;
  pthread_kill(thread_.native_handle(), SIGTERM);
  thread_.Join();
}

}  // namespace app
