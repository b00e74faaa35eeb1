#pragma once
// Speech read by a helper process of its own (radaded2k-speech), which talks
// to speech-dispatcher: the speech library ends the process it runs in on
// some replies of a broken service, and here that process is the helper's,
// never the story's. Nothing here waits for the helper: what cannot be
// handed over at once is dropped. When the helper cannot start or has ended,
// it says so once on standard error and stays silent.
#include <string>
#include <sys/types.h>

#include "runtime/unique_fd.h"
#include "speech/speech.h"

namespace speech {

class SpeechProcess final : public Speech {
 public:
  SpeechProcess();
  // Stops what is being read, and lets the helper go within a quarter of a
  // second (killed then).
  ~SpeechProcess() override;
  SpeechProcess(const SpeechProcess&) = delete;
  SpeechProcess& operator=(const SpeechProcess&) = delete;

  void Say(const std::string& text) override;
  void Cancel() override;

 private:
  void Send(const std::string& message);

  rt::UniqueFd socket_;
  pid_t pid_ = 0;
};

// The helper's side: reads what the program sends on `fd` and reads it aloud
// through speech-dispatcher until the program closes its end. The exit status.
int RunSpeechHelper(int fd);

}  // namespace speech
