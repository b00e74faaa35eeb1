#include "sound/music/soundfont_loader.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sound {

std::vector<std::string> DefaultSoundFonts() {
  // Paths between ':' or ';'.
  if (const char* chosen = std::getenv("SDL_SOUNDFONTS"); chosen && *chosen) {
    std::vector<std::string> paths;
    const std::string list = chosen;
    for (std::size_t at = 0; at <= list.size();) {
      const std::size_t end = std::min(list.find_first_of(":;", at), list.size());
      if (end > at) paths.push_back(list.substr(at, end - at));
      at = end + 1;
    }
    return paths;
  }
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
          "/usr/share/soundfonts/FluidR3_GM.sf2"};
}

std::optional<LoadedSynth> LoadSoundFont(int sample_rate, const std::vector<std::string>& soundfonts) {
  const auto start = std::chrono::steady_clock::now();
  // Our own messages say what matters; the library's would repeat them.
  for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  LoadedSynth loaded;
  loaded.settings.reset(new_fluid_settings());
  fluid_settings_t* settings = loaded.settings.get();
  if (!settings) return std::nullopt;
  fluid_settings_setnum(settings, "synth.sample-rate", sample_rate);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  // The default 0.2 is faint beside the effects. At 0.7, 11 of 41 General
  // MIDI files from Debian's packages went past full scale in their first
  // 5 s; at 0.6, 7 of them do, and the limiter (peak_limiter.h) takes those
  // down, while the demo's tunes lose only 1.3 dB.
  fluid_settings_setnum(settings, "synth.gain", 0.6);
  // Only the instruments that tunes use are read into memory.
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  // Voices are allocated up front: 128 (not FluidSynth's 256) is ample for
  // a story's background tunes and saves over a megabyte.
  fluid_settings_setint(settings, "synth.polyphony", 128);
  loaded.synth.reset(new_fluid_synth(settings));
  if (!loaded.synth) return std::nullopt;
  for (const auto& path : soundfonts) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) continue;
    if (fluid_synth_sfload(loaded.synth.get(), path.c_str(), 1) != FLUID_FAILED) {
      loaded.load_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      return loaded;
    }
  }
  return std::nullopt;
}

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

void SoundFontHandoff::Deliver(std::optional<LoadedSynth> loaded) {
  {
    std::lock_guard lock(mutex_);
    if (abandoned_) return;  // `loaded` goes here, on the loading thread
    result_ = std::move(loaded);
  }
  changed_.notify_all();
}

std::optional<std::optional<LoadedSynth>> SoundFontHandoff::Await() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return abandoned_ || result_; });
  if (abandoned_) return std::nullopt;
  return std::move(result_);
}

void SoundFontHandoff::Abandon() {
  std::optional<std::optional<LoadedSynth>> unused;
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    unused = std::move(result_);
  }
  changed_.notify_all();
}

}  // namespace sound
