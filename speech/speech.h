#pragma once
// Text read aloud by the desktop's speech service. Messages are read one
// after another; the real one talks to speech-dispatcher, and nothing here
// may block the caller on it.
#include <string>

namespace speech {

class Speech {
 public:
  virtual ~Speech() = default;
  // Reads UTF-8 text after whatever is being read.
  virtual void Say(const std::string& text) = 0;
  // Stops what is being read and drops what waits to be.
  virtual void Cancel() = 0;
};

}  // namespace speech
