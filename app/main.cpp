// Radaded 2K: the intro, the story and the closing credits, in one window each.
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "app/command_line.h"
#include "app/story_check.h"
#include "demo/startup.h"
#include "demo/vn_midi.h"
#include "demo/vn_wav.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/sdl_platform.h"
#include "runtime/clock.h"
#include "runtime/notice.h"
#include "runtime/runtime_error.h"
#include "runtime/trace.h"
#include "sound/sound_system.h"
#include "toolkit/toolkit.h"

int main(int argc, char** argv) {
  // The threads (sound, rendering, effects) share the allocator's arenas
  // instead of holding one each: a few megabytes less, nothing slower here.
  mallopt(M_ARENA_MAX, 2);
  app::Options options;
  if (const auto status = app::ParseCommandLine(argc, argv, options, stdout, stderr)) return *status;
  // Every name the story uses is looked up from its folder, as from the
  // current directory before.
  if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) {
    tk::Notice("cannot enter story folder '%s': %s", options.folder.c_str(), std::strerror(errno));
    return 2;
  }
  if (options.check) return app::PrintCheck(app::CheckStory(), stdout);

  static tk::SteadyClock clock;
  tk::trace::Open(options.trace.empty() ? std::getenv("RADADED_TRACE") : options.trace.c_str(), clock);
  auto& toolkit = tk::Toolkit::Get();
  int status = 0;
  try {
    int scale = options.scale;
    if (const char* env = std::getenv("RADADED_SCALE"); !scale && env) scale = std::atoi(env);
    if (scale < 1 || scale > tk::kMaxDisplayScale) scale = tk::DisplayScale();
    tk::SdlPlatform platform(scale);
    toolkit.Install(platform, clock);
    // A tune that ends wakes the user-interface thread, so that a loop
    // waiting on IsMidiPlaying sees it at once.
    sound::SoundSystem sound([] { tk::SdlPlatform::Wake(); });
    VN_Midi::UseDevice(sound.midi());
    VN_WAV::UseDevice(sound.effects());
    // Nothing may reach the sound system once it is gone.
    struct Unregister {
      ~Unregister() {
        VN_Midi::UseNoDevice();
        VN_WAV::UseNoDevice();
      }
    } unregister;
    if (const char* quiet = std::getenv("RADADED_NO_MESSAGE_BOX"); quiet && *quiet) toolkit.set_show_error_box(false);
    try {
      Module1::Main();
      toolkit.RunMessageLoop();
      tk::trace::End();
    } catch (const tk::ProcessEnd&) {
    } catch (const tk::RuntimeError& e) {
      toolkit.ReportError(e);
      status = 1;
    } catch (const std::bad_alloc&) {
      toolkit.ReportError(tk::RuntimeError(tk::kOutOfMemory, ""));
      status = 1;
    }
    toolkit.Shutdown();
  } catch (const std::exception& e) {
    tk::Notice("%s", e.what());
    status = 2;
  }
  tk::trace::Close();
  return status;
}
