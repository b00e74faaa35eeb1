#pragma once
// What the live player and the rendering thread both do with the one
// synthesiser: start a tune on it, tell when a tune has passed its last
// event, and silence it for the next.
#include <cstdint>
#include <vector>

#include "sound/music/fluid_ptrs.h"
#include "sound/music/peak_limiter.h"

namespace sound {

inline constexpr int kBlockFrames = 1024;  // what the rendering thread writes at a time
inline constexpr int kTailSeconds = 3;     // how long the reverb may ring on once the voices have ended

// A player for `tune`, started; empty when FluidSynth refuses it.
FluidPlayerPtr StartPlayer(fluid_synth_t* synth, const std::vector<unsigned char>& tune);
// A tune has passed its last event: the end is the last event of the longest
// track, not the end of the voices' release tails, which ring on after it.
bool PastLastEvent(fluid_player_t* player);
// Every note off and every controller back as it was: a deleted player
// leaves its notes sounding.
void ResetSynth(fluid_synth_t* synth);
// Synthesises interleaved 16-bit stereo frames through the limiter, which
// keeps a loud passage from clipping.
void WriteLimited(fluid_synth_t* synth, PeakLimiter& limiter, std::int16_t* stereo, int frames);
// Gives the allocator's free pages back to the system. Loading the
// SoundFont, and each instrument as a tune first uses it, reads the
// SoundFont's tables into memory and frees them again: a megabyte or more,
// free but still resident, in the heap of the thread that did it.
void ReturnFreeMemory();

}  // namespace sound
