#pragma once
// The one FluidSynth synthesiser of the process, the limiter that follows
// it, and who plays on it now: nobody, the rendering thread (one tune into
// memory, tune_renderer.h), or the live tune (one too long to keep,
// synthesised as it plays). Whoever takes it gets a ticket and a reset
// synthesiser; taking it makes every earlier ticket worthless, so a holder
// that has lost it finds out at its next block. Every call takes the
// synthesiser's lock itself, and the audio thread only ever tries it.
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "sound/music/fluid_ptrs.h"
#include "sound/music/peak_limiter.h"
#include "sound/music/soundfont_loader.h"

namespace sound {

class SynthCore {
 public:
  using Ticket = std::uint64_t;  // 0 is no ticket
  // What a block left behind.
  struct Block {
    bool past_last_event = false;  // the tune has played its last event
    bool voices = false;           // a voice still sounds
  };
  // The most frames synthesised in one go.
  static constexpr int kBlockFrames = 1024;

  explicit SynthCore(int sample_rate) : limiter_(sample_rate) {}
  SynthCore(const SynthCore&) = delete;
  SynthCore& operator=(const SynthCore&) = delete;

  // The synthesiser with its SoundFont, once loaded; until then every Take
  // fails.
  void Install(LoadedSynth loaded);
  // Gives the synthesiser to a new holder (the rendering thread's tune, or
  // the live one, which keeps the ticket) for `tune` (a checked MIDI file)
  // from its beginning; 0 when FluidSynth refuses the tune, and then it is
  // nobody's.
  Ticket Take(const std::vector<unsigned char>& tune);
  // Synthesises the next frames of the holder's tune through the limiter;
  // nothing when `ticket` no longer holds the synthesiser.
  std::optional<Block> Write(Ticket ticket, std::int16_t* stereo, int frames);
  // The same on the audio thread, which never waits: nothing also while
  // another thread has the lock.
  std::optional<Block> TryWrite(Ticket ticket, std::int16_t* stereo, int frames);
  // The holder is done with it: the synthesiser is silenced and nobody's.
  void Release(Ticket ticket);

 private:
  std::optional<Block> WriteHeld(Ticket ticket, std::int16_t* stereo, int frames);  // with mutex_ held
  void Reset();                                                                      // with mutex_ held

  std::mutex mutex_;
  FluidSettingsPtr settings_;  // the synthesiser goes before its settings, the player before both
  FluidSynthPtr synth_;
  FluidPlayerPtr player_;
  PeakLimiter limiter_;
  Ticket ticket_ = 0;  // the holder's; 0 while nobody holds it
  Ticket last_ticket_ = 0;
};

}  // namespace sound
