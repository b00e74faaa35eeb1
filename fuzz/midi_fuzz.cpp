// The MIDI check, then FluidSynth's parser and sequencer over what it lets
// through (no SoundFont: every note is silent, every event is still read).
#include <fluidsynth.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/format/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto tune = sound::NormaliseMidi({data, size});
  if (!tune) return 0;
  if (!sound::NormaliseMidi(*tune) || *sound::NormaliseMidi(*tune) != *tune) __builtin_trap();  // settled
  const double seconds = sound::MidiSeconds(*tune);
  if (!(seconds >= 0)) __builtin_trap();
  static fluid_settings_t* settings = [] {
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    return new_fluid_settings();
  }();
  static fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add_mem(player, tune->data(), tune->size());
  fluid_player_play(player);
  static std::vector<float> block(2 * 1024);
  for (int k = 0; k < 8 && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING; ++k)
    fluid_synth_write_float(synth, 1024, block.data(), 0, 2, block.data(), 1, 2);
  delete_fluid_player(player);
  fluid_synth_system_reset(synth);
  return 0;
}
