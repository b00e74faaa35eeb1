#pragma once
// --text-hook: the pages written to a descriptor (standard output) as they
// are shown, by a thread of their own, so that a reader's tool that reads
// slowly, or not at all, never holds the story up. Each record goes out
// whole, at once; a descriptor that cannot be written to any more (a closed
// pipe) silences the hook, said once, and the story plays on.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "demo/text_hook.h"
#include "runtime/thread.h"

namespace app {

class TextHookOutput final : public TextHook::Sink {
 public:
  explicit TextHookOutput(int fd);
  // Waits up to a quarter of a second for what is queued to be written, then
  // lets the writer go (abandoned: a write can block for as long as the
  // reader takes).
  ~TextHookOutput() override;

  void Write(std::string text) noexcept override;

 private:
  struct Queue {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::string> records;
    bool writing = false;  // a record is being written
    bool closed = false;   // the owner has gone
    bool broken = false;   // the descriptor failed: nothing more is written
  };
  static void Run(int fd, const std::shared_ptr<Queue>& queue);

  std::shared_ptr<Queue> queue_;
  rt::Thread writer_;
};

}  // namespace app
