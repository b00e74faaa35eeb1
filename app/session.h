#pragma once
// One run of the demo: the display, the sound, the intro, the story and the
// credits, and the one way out of them. However the run ends (the close
// request, the credits' end, an error report, a signal, which arrives as a
// close request), the same steps follow in the same order: the windows close
// without running a handler; the services the session built and handed down
// to the program (the sound, the story watcher, the speech, the text hook)
// are let go, in one call, and where the reader stopped is kept; the trace gets its last line; the display goes. A lost display connection, after
// which nothing can be let go properly, ends the process at once, with its
// trace's last line written and the reader's place kept.
#include <memory>

#include "app/command_line.h"

namespace rt {
class Clock;
}  // namespace rt

namespace sdl {
class SdlPlatform;
}  // namespace sdl

namespace Module1 {
struct ReaderPlace;
}  // namespace Module1

namespace app {

class Session {
 public:
  Session(const Options& options, const rt::Clock& clock);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Plays the demo; the process's exit status: 0, 1 after an error report,
  // 2 when there is no display.
  int Run();

 private:
  struct Services;

  int Finish(int status);
  static void KeepPlace(const Module1::ReaderPlace& place);
  [[noreturn]] static void DisplayLost();

  const Options options_;
  const rt::Clock& clock_;
  std::unique_ptr<sdl::SdlPlatform> platform_;
  std::unique_ptr<Services> services_;
};

}  // namespace app
