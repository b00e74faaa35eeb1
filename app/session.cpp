#include "app/session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "app/story_check.h"
#include "demo/auto_turn.h"
#include "demo/read_aloud.h"
#include "demo/startup.h"
#include "demo/story_start.h"
#include "demo/vn_midi.h"
#include "demo/vn_wav.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/sdl_platform.h"
#include "runtime/notice.h"
#include "runtime/runtime_error.h"
#include "runtime/trace.h"
#include "sound/sound_opener.h"
#include "sound/sound_system.h"
#include "speech/speech_dispatcher.h"
#include "toolkit/toolkit.h"

namespace app {

Session::Session(const Options& options, const tk::Clock& clock) : options_(options), clock_(clock) {}

Session::~Session() = default;

int Session::Run() {
  auto& toolkit = tk::Toolkit::Get();
  int status = 0;
  try {
    int scale = options_.scale;
    if (const char* env = std::getenv("RADADED_SCALE"); !scale && env) scale = std::atoi(env);
    if (scale < 1 || scale > tk::kMaxDisplayScale) scale = tk::DisplayScale();
    platform_ = std::make_unique<tk::SdlPlatform>(scale, options_.full_screen, &Session::DisplayLost);
    toolkit.Install(*platform_, clock_);
    if (const char* quiet = std::getenv("RADADED_NO_MESSAGE_BOX"); quiet && *quiet) toolkit.set_show_error_box(false);
    // A tune that ends wakes the user-interface thread, so that a loop
    // waiting on IsMidiPlaying sees it at once. The audio device opens while
    // the intro window is shown and black.
    sound_ = std::make_unique<sound::SoundOpener>(
        [] { return std::make_unique<sound::SoundSystem>([] { tk::SdlPlatform::Wake(); }); });
    VN_Midi::UseDevice(sound_->midi());
    VN_WAV::UseDevice(sound_->effects());
    if (options_.watch) watch_ = WatchStory();
    Module1::Start = {options_.from, watch_.get()};
    if (options_.auto_turn_ms >= 0) AutoTurn::TurnOn(options_.auto_turn_ms);
    if (options_.speak) {
      speech_ = std::make_unique<speech::SpeechDispatcher>();
      ReadAloud::UseSpeech(*speech_);
    }
    Module1::Main();
    toolkit.RunMessageLoop();
  } catch (const tk::ProcessEnd&) {
  } catch (const tk::RuntimeError& e) {
    toolkit.ReportError(e);
    status = 1;
  } catch (const std::bad_alloc&) {
    toolkit.ReportError(tk::RuntimeError(tk::kOutOfMemory, ""));
    status = 1;
  } catch (const std::exception& e) {
    tk::Notice("%s", e.what());
    status = 2;
  }
  return Finish(status);
}

int Session::Finish(int status) {
  if (platform_) tk::Toolkit::Get().Shutdown();
  Module1::Start = {};
  watch_.reset();
  // Nothing may reach the sound system once it is gone.
  VN_Midi::UseNoDevice();
  VN_WAV::UseNoDevice();
  ReadAloud::UseNoSpeech();
  speech_.reset();
  sound_.reset();
  tk::trace::End(status);
  platform_.reset();
  return status;
}

void Session::DisplayLost() {
  tk::Notice("the connection to the display was lost");
  tk::trace::End(1);
  // The sound's threads may be the ones that found it; the process's end
  // closes the audio device under them.
  ::_exit(1);
}

}  // namespace app
