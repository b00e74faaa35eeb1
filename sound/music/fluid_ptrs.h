#pragma once
// FluidSynth's handles, each owned by a unique_ptr that frees it the
// library's way. A synthesiser must go before its settings, and a player
// before its synthesiser: declare them in that order, settings first.
#include <memory>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace sound {

struct FluidDeleter {
  void operator()(fluid_settings_t* settings) const;
  void operator()(fluid_synth_t* synth) const;
  void operator()(fluid_player_t* player) const;
};

using FluidSettingsPtr = std::unique_ptr<fluid_settings_t, FluidDeleter>;
using FluidSynthPtr = std::unique_ptr<fluid_synth_t, FluidDeleter>;
using FluidPlayerPtr = std::unique_ptr<fluid_player_t, FluidDeleter>;

}  // namespace sound
