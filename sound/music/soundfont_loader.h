#pragma once
// A new FluidSynth synthesiser with the first General MIDI SoundFont of a
// list that loads. This is the slow part of the music's start (tens of
// milliseconds, seconds from a slow disk), done on a thread of its own that
// nobody waits for: it hands what it loaded over through a SoundFontHandoff,
// which the synthesiser may have left by then.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sound/music/fluid_ptrs.h"

namespace sound {

struct LoadedSynth {
  FluidSettingsPtr settings;  // first, so that the synthesiser goes before it
  FluidSynthPtr synth;
  double load_ms = 0;
};

// Where Debian and others keep a General MIDI SoundFont, most likely first;
// SDL_SOUNDFONTS, as SDL_mixer's programs read it, instead when it is set.
std::vector<std::string> DefaultSoundFonts();

// Nothing when none of the SoundFonts loads.
std::optional<LoadedSynth> LoadSoundFont(int sample_rate, const std::vector<std::string>& soundfonts);

// Gives the allocator's free pages back to the system. Loading the
// SoundFont, and each instrument as a tune first uses it, reads the
// SoundFont's tables into memory and frees them again: a megabyte or more,
// free but still resident, in the heap of the thread that did it.
void ReturnFreeMemory();

// The loading thread's result on its way to the synthesiser.
class SoundFontHandoff {
 public:
  // The loading thread: hands the result over, or lets it go when nobody
  // waits for it any more.
  void Deliver(std::optional<LoadedSynth> loaded);
  // Waits for the result; nothing when abandoned meanwhile.
  std::optional<std::optional<LoadedSynth>> Await();
  // Nobody will take the result: Await returns, and Deliver lets it go.
  void Abandon();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::optional<LoadedSynth>> result_;
  bool abandoned_ = false;
};

}  // namespace sound
