#include "app/session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <stdexcept>

#include "app/place_store.h"
#include "app/story_check.h"
#include "app/text_hook_output.h"
#include "demo/services.h"
#include "demo/startup.h"
#include "demo/story_watcher.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/sdl_platform.h"
#include "runtime/notice.h"
#include "runtime/runtime_error.h"
#include "runtime/trace.h"
#include "sound/sound_opener.h"
#include "sound/sound_system.h"
#include "speech/speech_process.h"
#include "toolkit/toolkit.h"

namespace app {

// What the session builds for the program, and hands down to it in one
// Wiring; let go in reverse order: first nothing reaches them, then the
// text hook (its last pages written), the speech, the watcher and the sound
// go.
struct Session::Services {
  std::unique_ptr<sound::SoundOpener> sound;
  std::unique_ptr<script::StoryWatcher> watch;  // --watch
  std::unique_ptr<speech::SpeechProcess> speech;
  std::unique_ptr<TextHookOutput> text_hook;  // --text-hook
  std::optional<Module1::Wiring> wiring;
};

namespace {

// Where the reader is, for as long as the process runs: a lost display ends
// it from whichever thread finds it, and keeps the place first.
Module1::ReaderPlace& Place() {
  static Module1::ReaderPlace place;
  return place;
}

}  // namespace

Session::Session(const Options& options, const rt::Clock& clock) : options_(options), clock_(clock) {}

Session::~Session() = default;

int Session::Run() {
  auto& toolkit = tk::Toolkit::Get();
  int status = 0;
  try {
    int scale = options_.scale;
    if (const char* env = std::getenv("RADADED_SCALE"); !scale && env) scale = std::atoi(env);
    if (scale < 1 || scale > sdl::kMaxDisplayScale) scale = sdl::DisplayScale();
    platform_ = std::make_unique<sdl::SdlPlatform>(scale, options_.full_screen, &Session::DisplayLost);
    toolkit.Install(*platform_, clock_);
    if (const char* quiet = std::getenv("RADADED_NO_MESSAGE_BOX"); quiet && *quiet) toolkit.set_show_error_box(false);
    // A tune that ends wakes the user-interface thread, so that a loop
    // waiting on IsMidiPlaying sees it at once. The audio device opens while
    // the intro window is shown and black.
    services_ = std::make_unique<Services>();
    Services& s = *services_;
    const sound::Levels levels{options_.music_volume, options_.effects_volume};
    s.sound = std::make_unique<sound::SoundOpener>([levels] {
      return std::make_unique<sound::SoundSystem>([] { sdl::SdlPlatform::Wake(); }, sound::DefaultSoundFonts(), levels);
    });
    if (options_.watch) s.watch = WatchStory();
    if (options_.speak) s.speech = std::make_unique<speech::SpeechProcess>();
    if (options_.text_hook) s.text_hook = std::make_unique<TextHookOutput>(STDOUT_FILENO);
    s.wiring.emplace(Module1::Services{.midi = &s.sound->midi(),
                                       .effects = &s.sound->effects(),
                                       .speech = s.speech.get(),
                                       .text_hook = s.text_hook.get(),
                                       .place = &Place(),
                                       .start = {options_.from, s.watch.get()},
                                       .auto_turn_ms = options_.auto_turn_ms});
    Module1::Main();
    toolkit.RunMessageLoop();
  } catch (const rt::ProcessEnd&) {
  } catch (const rt::RuntimeError& e) {
    toolkit.ReportError(e);
    status = 1;
  } catch (const std::bad_alloc&) {
    toolkit.ReportError(rt::RuntimeError(rt::kOutOfMemory, ""));
    status = 1;
  } catch (const std::exception& e) {
    rt::Notice("%s", e.what());
    status = 2;
  }
  return Finish(status);
}

int Session::Finish(int status) {
  if (platform_) tk::Toolkit::Get().Shutdown();
  if (services_) services_->wiring.reset();
  KeepPlace(Place());
  services_.reset();
  rt::trace::End(status);
  platform_.reset();
  return status;
}

// Where the reader stopped, for --resume: kept while the story is on a page,
// forgotten once it has played to its end; before the first page the place
// kept before stays.
void Session::KeepPlace(const Module1::ReaderPlace& place) {
  const long line = place.line;
  if (!place.ended && !line) return;
  const auto store = PlaceStore::ForCurrentFolder();
  if (store && place.ended) store->Forget();
  else if (store) store->Save(line);
}

void Session::DisplayLost() {
  rt::Notice("the connection to the display was lost");
  KeepPlace(Place());
  rt::trace::End(1);
  // The sound's threads may be the ones that found it; the process's end
  // closes the audio device under them.
  ::_exit(1);
}

}  // namespace app
