#include "app/text_hook_output.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "runtime/file_writer.h"
#include "runtime/notice.h"

namespace app {
TextHookOutput::TextHookOutput(int fd)
    : queue_(std::make_shared<Queue>()),
      writer_("text hook", rt::Thread::End::kAbandoned, [fd, queue = queue_] { Run(fd, queue); }) {}

TextHookOutput::~TextHookOutput() {
  std::unique_lock hold(queue_->lock);
  queue_->changed.wait_for(hold, std::chrono::milliseconds(250),
                           [&] { return queue_->broken || (queue_->records.empty() && !queue_->writing); });
  queue_->closed = true;
  queue_->changed.notify_all();
}

void TextHookOutput::Write(std::string text) noexcept {
  try {
    std::lock_guard hold(queue_->lock);
    if (queue_->broken) return;
    queue_->records.push_back(std::move(text));
    queue_->changed.notify_all();
  } catch (const std::bad_alloc&) {
  }
}

void TextHookOutput::Run(int fd, const std::shared_ptr<Queue>& queue) {
  // A closed pipe is an error to see, not a signal that ends the program;
  // blocked on this thread alone, the signal stays pending here.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
  std::unique_lock hold(queue->lock);
  for (;;) {
    queue->changed.wait(hold, [&] { return queue->closed || !queue->records.empty(); });
    if (queue->records.empty()) return;
    std::string record = std::move(queue->records.front());
    queue->records.pop_front();
    queue->writing = true;
    hold.unlock();
    const bool written = rt::WriteAll(fd, record);
    const int error = errno;
    hold.lock();
    queue->writing = false;
    if (!written) {
      queue->broken = true;
      queue->records.clear();
      rt::Notice("--text-hook: cannot write the pages any more: %s", std::strerror(error ? error : EIO));
    }
    queue->changed.notify_all();
    if (queue->broken) return;
  }
}

}  // namespace app
