#include "sound/music/fluid_ptrs.h"

#include <fluidsynth.h>

namespace sound {

void FluidDeleter::operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
void FluidDeleter::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void FluidDeleter::operator()(fluid_player_t* player) const {
  fluid_player_stop(player);
  delete_fluid_player(player);
}

}  // namespace sound
