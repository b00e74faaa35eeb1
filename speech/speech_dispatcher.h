#pragma once
// Speech through speech-dispatcher (libspeechd), in Japanese. The connection
// is made, and every message sent, on a thread of its own, so that a slow or
// absent speech service never holds up the story. Without one, it says so
// once on standard error and stays silent.
#include <memory>
#include <string>

#include "speech/speech.h"

namespace speech {

class SpeechDispatcher final : public Speech {
 public:
  SpeechDispatcher();
  // Stops what is being read and lets the connection go, waiting a moment at
  // most: a service that does not answer is abandoned.
  ~SpeechDispatcher() override;
  SpeechDispatcher(const SpeechDispatcher&) = delete;
  SpeechDispatcher& operator=(const SpeechDispatcher&) = delete;

  void Say(const std::string& text) override;
  void Cancel() override;

  struct Queue;

 private:
  std::shared_ptr<Queue> queue_;
};

}  // namespace speech
