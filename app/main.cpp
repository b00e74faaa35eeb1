// Radaded 2K: the intro, the story and the closing credits, in one window each.
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/command_line.h"
#include "app/exit_signals.h"
#include "app/place_store.h"
#include "app/session.h"
#include "app/story_check.h"
#include "demo/start_line.h"
#include "platform/sdl/sdl_platform.h"
#include "runtime/clock.h"
#include "runtime/notice.h"
#include "runtime/trace.h"

namespace {

// What was written to standard output (--help, --version, --check) has
// reached it, or the exit status says it has not: 1, with the reason said.
int Written(int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  rt::Notice("cannot write to standard output: %s", std::strerror(errno ? errno : EIO));
  return 1;
}

// Where --resume starts: the page kept for this story folder, while its
// script still shows it; otherwise the story's start, said once.
long ResumeLine() {
  const auto store = app::PlaceStore::ForCurrentFolder();
  const auto line = store ? store->Load() : std::nullopt;
  if (!line) {
    rt::Notice("no place is kept for this story: playing it from the start");
  } else if (script::CheckStartLine(*line)) {
    rt::Notice("the place kept for this story (line %ld) is no longer in its script: playing it from the start", *line);
  } else {
    return *line;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The threads (sound, rendering, effects) share the allocator's arenas
  // instead of holding one each: a few megabytes less, nothing slower here.
  mallopt(M_ARENA_MAX, 2);
  app::Options options;
  if (const auto status = app::ParseCommandLine(argc, argv, options, stdout, stderr)) return Written(*status);
  // Every name the story uses is looked up from its folder, as from the
  // current directory before.
  if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) {
    rt::Notice("cannot enter story folder '%s': %s", options.folder.c_str(), std::strerror(errno));
    return 2;
  }
  if (options.check) return Written(app::PrintCheck(app::CheckStory(), stdout));
  if (options.resume) options.from = ResumeLine();
  if (const auto problem = options.from ? script::CheckStartLine(options.from) : std::nullopt) {
    app::PrintFinding(*problem, stderr);  // the line asked for is no line of the story
    return 2;
  }

  // From here on, a signal that asks the program to end is a close request.
  // Before any other thread starts, so that none of them takes the signals.
  app::ExitSignals signals([](int) { sdl::SdlPlatform::RequestQuit(); });
  static rt::SteadyClock clock;
  rt::trace::Open(options.trace.empty() ? std::getenv("RADADED_TRACE") : options.trace.c_str(), clock);
  const int status = app::Session(options, clock).Run();
  rt::trace::Close();
  return status;
}
