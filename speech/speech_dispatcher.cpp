#include "speech/speech_dispatcher.h"

#include <libspeechd.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>

#include "runtime/notice.h"
#include "runtime/thread.h"

namespace speech {

// What the program asks for, in order (an empty entry is a cancel), shared
// with the thread that talks to the service; the thread may outlive the
// object when the service hangs.
struct SpeechDispatcher::Queue {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::optional<std::string>> requests;
  bool closing = false;
  bool silent = false;  // no service: everything is dropped
  bool finished = false;
};

namespace {

using Queue = SpeechDispatcher::Queue;

struct ConnectionCloser {
  void operator()(SPDConnection* c) const { spd_close(c); }
};
using Connection = std::unique_ptr<SPDConnection, ConnectionCloser>;

void GoSilent(Queue& q, const char* why) {
  rt::Notice("cannot read aloud (%s): the story plays on without speech", why);
  std::lock_guard lock(q.mutex);
  q.silent = true;
  q.requests.clear();
}

void Serve(std::shared_ptr<Queue> queue) {
  Queue& q = *queue;
  // A service that has gone away makes writes fail instead of ending the process.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

  char* error = nullptr;
  Connection connection(spd_open2("radaded2k", "story", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error));
  if (!connection) {
    GoSilent(q, error ? error : "no speech-dispatcher");
    std::free(error);
  } else {
    spd_set_language(connection.get(), "ja");
  }
  std::unique_lock lock(q.mutex);
  while (connection) {
    q.changed.wait(lock, [&] { return q.closing || !q.requests.empty(); });
    if (q.closing) break;
    std::optional<std::string> request = std::move(q.requests.front());
    q.requests.pop_front();
    lock.unlock();
    const bool sent = request ? spd_say(connection.get(), SPD_TEXT, request->c_str()) > 0
                              : spd_cancel(connection.get()) == 0;
    if (!sent) {
      connection.reset();
      GoSilent(q, "speech-dispatcher stopped answering");
    }
    lock.lock();
  }
  lock.unlock();
  if (connection) spd_cancel(connection.get());
  connection.reset();
  lock.lock();
  q.finished = true;
  q.changed.notify_all();
}

}  // namespace

SpeechDispatcher::SpeechDispatcher() : queue_(std::make_shared<Queue>()) {
  // The library's connect and its writes cannot be interrupted: the thread
  // holds the queue by shared ownership and nobody ever waits for it.
  rt::Thread("speech", rt::Thread::End::kAbandoned, [queue = queue_] { Serve(queue); });
}

SpeechDispatcher::~SpeechDispatcher() {
  std::unique_lock lock(queue_->mutex);
  queue_->closing = true;
  queue_->changed.notify_all();
  queue_->changed.wait_for(lock, std::chrono::milliseconds(200), [&] { return queue_->finished; });
}

void SpeechDispatcher::Say(const std::string& text) {
  std::lock_guard lock(queue_->mutex);
  if (queue_->silent) return;
  queue_->requests.emplace_back(text);
  queue_->changed.notify_all();
}

void SpeechDispatcher::Cancel() {
  std::lock_guard lock(queue_->mutex);
  if (queue_->silent) return;
  // What has not been sent yet need not be: the cancel would stop it anyway.
  queue_->requests.clear();
  queue_->requests.emplace_back(std::nullopt);
  queue_->changed.notify_all();
}

}  // namespace speech
