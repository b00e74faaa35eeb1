#include "speech/speech_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/helper_path.h"
#include "runtime/notice.h"
#include "runtime/spawn_helper.h"
#include "speech/speech_dispatcher.h"

namespace speech {
namespace {

// A message: 'S', the text's length in bytes, a line end, the text; or "C\n", a cancel.
constexpr char kSay = 'S', kCancel = 'C';

}  // namespace

SpeechProcess::SpeechProcess() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    rt::Notice("cannot read aloud (%s): the story plays on without speech", std::strerror(errno));
    return;
  }
  rt::UniqueFd mine(ends[0]), theirs(ends[1]);
  const std::string path = rt::HelperPath("radaded2k-speech");
  // The library prints its fatal errors on standard output, which is the
  // program's to keep clean, and half a line at that: the helper's goes
  // nowhere, and the program says it itself.
  const int spawned =
      rt::SpawnHelper(path, {.in = theirs.get(), .errors_shown = true, .environment = true}, pid_);
  if (spawned != 0) {
    rt::Notice("cannot read aloud (cannot start %s: %s): the story plays on without speech", path.c_str(),
               std::strerror(spawned));
    return;
  }
  // Never waits on the helper: a message it has no room for is dropped.
  ::fcntl(mine.get(), F_SETFL, O_NONBLOCK);
  socket_ = std::move(mine);
}

SpeechProcess::~SpeechProcess() {
  socket_.reset();  // the helper reads the end, stops what is being read, and goes
  if (!pid_) return;
  for (int waited = 0; waited < 250; waited += 10) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid_, SIGKILL);
  while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

void SpeechProcess::Say(const std::string& text) {
  Send(kSay + std::to_string(text.size()) + "\n" + text);
}

void SpeechProcess::Cancel() { Send(std::string(1, kCancel) + "\n"); }

void SpeechProcess::Send(const std::string& message) {
  if (socket_.get() < 0) return;
  const ssize_t sent = ::send(socket_.get(), message.data(), message.size(), MSG_NOSIGNAL);
  if (sent == static_cast<ssize_t>(message.size())) return;
  if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // busy: this one is not heard
  // Gone (the library ended it), or a message cut in two: no more speech.
  socket_.reset();
  rt::Notice("cannot read aloud (the speech helper has ended): the story plays on without speech");
}

int RunSpeechHelper(int fd) {
  SpeechDispatcher speech;
  std::FILE* in = ::fdopen(fd, "rb");
  if (!in) return 1;
  for (int kind; (kind = std::fgetc(in)) != EOF;) {
    if (kind == kCancel) {
      std::fgetc(in);  // its line end
      speech.Cancel();
      continue;
    }
    std::size_t size = 0;
    if (kind != kSay || std::fscanf(in, "%zu", &size) != 1 || std::fgetc(in) != '\n' || size > (1u << 20)) return 1;
    std::string text(size, '\0');
    if (std::fread(text.data(), 1, size, in) != size) return 1;
    speech.Say(text);
  }
  return 0;
}

}  // namespace speech
