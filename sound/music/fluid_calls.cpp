#include "sound/music/fluid_calls.h"

#include <fluidsynth.h>

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sound {

FluidPlayerPtr StartPlayer(fluid_synth_t* synth, const std::vector<unsigned char>& tune) {
  FluidPlayerPtr player(new_fluid_player(synth));
  if (!player || fluid_player_add_mem(player.get(), tune.data(), tune.size()) != FLUID_OK ||
      fluid_player_play(player.get()) != FLUID_OK)
    return nullptr;
  return player;
}

void WriteLimited(fluid_synth_t* synth, PeakLimiter& limiter, std::int16_t* stereo, int frames) {
  float block[2 * kBlockFrames];
  for (int done = 0; done < frames;) {
    const int n = std::min(kBlockFrames, frames - done);
    fluid_synth_write_float(synth, n, block, 0, 2, block, 1, 2);
    limiter.Convert(block, n, stereo + 2 * done);
    done += n;
  }
}

bool PastLastEvent(fluid_player_t* player) {
  const int total = fluid_player_get_total_ticks(player);
  return fluid_player_get_status(player) == FLUID_PLAYER_DONE ||
         (total > 0 && fluid_player_get_current_tick(player) >= total);
}

void ResetSynth(fluid_synth_t* synth) {
  fluid_synth_all_sounds_off(synth, -1);
  fluid_synth_system_reset(synth);
}

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace sound
