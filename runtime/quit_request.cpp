#include "runtime/quit_request.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

namespace rt {
namespace {

std::atomic<bool> g_asked = false;

int Fd() {
  static const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  return fd;
}

}  // namespace

void AskToQuit() {
  if (g_asked.exchange(true)) return;
  const std::uint64_t one = 1;
  if (Fd() < 0) return;  // the flag alone tells
  const ssize_t written = ::write(Fd(), &one, sizeof one);
  (void)written;  // an eventfd's counter cannot overflow with one write
}

bool QuitAsked() { return g_asked; }
int QuitFd() { return Fd(); }

}  // namespace rt
