#include "sound/music/synth_core.h"

#include <fluidsynth.h>

#include <algorithm>

namespace sound {

void SynthCore::Install(LoadedSynth loaded) {
  std::lock_guard lock(mutex_);
  settings_ = std::move(loaded.settings);
  synth_ = std::move(loaded.synth);
}

SynthCore::Ticket SynthCore::Take(const std::vector<unsigned char>& tune) {
  std::lock_guard lock(mutex_);
  Reset();
  if (!synth_) return 0;
  limiter_.Reset();
  FluidPlayerPtr player(new_fluid_player(synth_.get()));
  if (!player || fluid_player_add_mem(player.get(), tune.data(), tune.size()) != FLUID_OK ||
      fluid_player_play(player.get()) != FLUID_OK)
    return 0;
  player_ = std::move(player);
  return ticket_ = ++last_ticket_;
}

std::optional<SynthCore::Block> SynthCore::Write(Ticket ticket, std::int16_t* stereo, int frames) {
  std::lock_guard lock(mutex_);
  return WriteHeld(ticket, stereo, frames);
}

std::optional<SynthCore::Block> SynthCore::TryWrite(Ticket ticket, std::int16_t* stereo, int frames) {
  std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return std::nullopt;
  return WriteHeld(ticket, stereo, frames);
}

void SynthCore::Release(Ticket ticket) {
  std::lock_guard lock(mutex_);
  if (ticket != 0 && ticket == ticket_) Reset();
}

std::optional<SynthCore::Block> SynthCore::WriteHeld(Ticket ticket, std::int16_t* stereo, int frames) {
  if (ticket == 0 || ticket != ticket_) return std::nullopt;
  float block[2 * kBlockFrames];
  for (int done = 0; done < frames;) {
    const int n = std::min(kBlockFrames, frames - done);
    fluid_synth_write_float(synth_.get(), n, block, 0, 2, block, 1, 2);
    limiter_.Convert(block, n, stereo + 2 * done);
    done += n;
  }
  // The end is the last event of the longest track, not the end of the
  // voices' release tails, which ring on after it.
  const int total = fluid_player_get_total_ticks(player_.get());
  Block result;
  result.past_last_event = fluid_player_get_status(player_.get()) == FLUID_PLAYER_DONE ||
                           (total > 0 && fluid_player_get_current_tick(player_.get()) >= total);
  result.voices = fluid_synth_get_active_voice_count(synth_.get()) > 0;
  return result;
}

void SynthCore::Reset() {
  // A deleted player leaves its notes sounding: every note off, and every
  // controller back as it was.
  player_.reset();
  if (synth_) {
    fluid_synth_all_sounds_off(synth_.get(), -1);
    fluid_synth_system_reset(synth_.get());
  }
  ticket_ = 0;
}

}  // namespace sound
