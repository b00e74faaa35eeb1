#pragma once
// The process's music: one FluidSynth synthesiser with its General MIDI
// SoundFont, and the tune playing on it. The SoundFont loads on a thread of
// its own, so that start-up does not wait for it; a tune started before then
// begins as soon as it is loaded.
//
// A tune is synthesised once: the rendering thread writes it into memory,
// from a reset synthesiser and faster than it plays, and the audio thread
// plays the stored samples; a tune started again (the loop check restarts
// the background tune whenever it ends) plays from memory with no synthesis
// at all. Rendered tunes are kept by their contents, within 4 MB: the tune
// playing always, and as many of those played before as fit. A story that
// goes back to a tune let go has it rendered again, which costs a fraction
// of a second of one core; memory stays flat however many tunes a story
// has. A tune too long to keep is synthesised as it plays, on the audio
// thread.
//
// Letting the synthesiser go never waits for a SoundFont still loading (that
// is abandoned, and ends on its own) and waits for a tune rendering only
// until its block is done.
//
// Locks, always taken in this order, never the other way round:
//   the play state's (mutex_ here); the audio thread only tries it
//   the synthesiser's (synth_core.h), taken a block at a time
//   the renderer's (tune_renderer.h): its work and the cache
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/thread.h"
#include "sound/music/rendered_tune.h"
#include "sound/music/reverb_tail.h"
#include "sound/music/soundfont_loader.h"
#include "sound/music/synth_core.h"
#include "sound/music/tune_renderer.h"

namespace sound {

class Synthesizer {
 public:
  static constexpr std::size_t kCacheBytes = 4 * 1024 * 1024;
  // A tune whose samples would take more than this is synthesised as it plays.
  static constexpr std::size_t kMaxRenderedBytes = 16 * 1024 * 1024;

  // on_end runs on the audio thread when a tune has played its last event.
  Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end,
              std::size_t max_rendered_bytes = kMaxRenderedBytes);
  // The audio thread must no longer call Render.
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // Audio thread: fills interleaved 16-bit stereo frames. Never waits: while
  // the user-interface thread is starting or stopping a tune, the block is
  // silent.
  void Render(std::int16_t* stereo, int frames);

  // Starts a tune (a checked MIDI file) from its beginning, replacing any.
  // False when the synthesiser cannot play (no SoundFont).
  bool Start(std::span<const unsigned char> midi);
  // Stops the tune and silences it at once.
  void Stop();
  // A tune is started and has not yet played its last event.
  bool Busy() const { return busy_.load(std::memory_order_acquire); }
  // Anything of the music is still to be heard (a tune, or its tail).
  bool Sounding() const { return sounding_.load(std::memory_order_acquire); }

  // Waits for the SoundFont load to end; true when it succeeded.
  bool WaitUntilLoaded();
  // Waits until the tune playing now is wholly rendered (tests, benchmarks).
  void WaitUntilRendered();
  // How long the SoundFont took to load, in milliseconds.
  double load_ms() const { return load_ms_; }
  // Rendered tunes kept, in bytes.
  std::size_t cached_bytes() { return renderer_.cached_bytes(); }

 private:
  enum class State {
    kLoading,   // the SoundFont is loading; a tune started meanwhile waits in pending_
    kFailed,    // no SoundFont loaded: nothing ever plays
    kIdle,      // nothing plays
    kRendered,  // playing_ plays from its playhead_
    kLive,      // live_ holds the synthesiser and is synthesised as it plays
  };
  // The rendering thread, first: the SoundFont has loaded, or failed to.
  void Loaded(std::optional<LoadedSynth> loaded);
  // With mutex_ held:
  void Begin(std::vector<unsigned char> tune);
  void Halt();  // back to kIdle from any tune
  // Audio thread, with mutex_ held; true when the tune played its last event.
  bool PlayRendered(std::int16_t* stereo, int frames);
  bool PlayLive(std::int16_t* stereo, int frames);

  const int sample_rate_;
  const std::vector<std::string> soundfonts_;
  const std::function<void()> on_end_;
  const std::size_t max_rendered_bytes_;
  SynthCore core_;
  TuneRenderer renderer_;

  std::mutex mutex_;  // the play state: all that follows but the atomics
  std::condition_variable loaded_;
  State state_ = State::kLoading;
  std::optional<std::vector<unsigned char>> pending_;
  std::shared_ptr<RenderedTune> playing_;
  std::size_t playhead_ = 0;
  SynthCore::Ticket live_ = 0;
  ReverbTail live_tail_;
  bool live_over_ = false;  // the live tune's tail has died away
  bool finished_ = false;   // the tune playing has passed its last event
  // What Busy and Sounding read without the lock, written under it.
  std::atomic<bool> busy_{false};
  std::atomic<bool> sounding_{false};
  std::atomic<double> load_ms_{0};

  const std::shared_ptr<SoundFontHandoff> handoff_ = std::make_shared<SoundFontHandoff>();
  rt::Thread rendering_;  // joined: it stops between two blocks
  rt::Thread loading_;    // abandoned: a SoundFont read from a slow disk is not waited for
};

}  // namespace sound
