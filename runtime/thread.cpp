#include "runtime/thread.h"

#include <pthread.h>

#include <string>

namespace rt {

Thread::Thread(const char* name, End end, std::function<void()> body)
    : end_(end), thread_([name = std::string(name).substr(0, 15), body = std::move(body)] {
        pthread_setname_np(pthread_self(), name.c_str());
        body();
      }) {
  if (end_ == End::kAbandoned) thread_.detach();
}

Thread::~Thread() { Join(); }

Thread& Thread::operator=(Thread&& other) noexcept {
  Join();
  end_ = other.end_;
  thread_ = std::move(other.thread_);
  return *this;
}

void Thread::Join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace rt
