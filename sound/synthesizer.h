#pragma once
// The one FluidSynth synthesiser of the process, with its General MIDI
// SoundFont. The SoundFont loads on a thread of its own, so that start-up
// does not wait for it; a tune started before then begins as soon as it is
// loaded.
//
// A tune is synthesised once: a rendering thread writes it into memory, from
// a reset synthesiser and faster than it plays, and the audio thread plays
// the stored samples; a tune started again (the loop check restarts the
// background tune whenever it ends) plays from memory with no synthesis at
// all. Rendered tunes are kept by their contents, within 4 MB: the tune
// playing always, and as many of those played before as fit. A story that
// goes back to a tune let go has it rendered again, which costs a fraction
// of a second of one core; memory stays flat however many tunes a story
// has. A tune too long to keep is synthesised as it plays, on the audio
// thread.
#include <fluidsynth.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "sound/rendered_tune.h"
#include "sound/tune_cache.h"

namespace sound {

// Where Debian and others keep a General MIDI SoundFont, most likely first.
std::vector<std::string> DefaultSoundFonts();

class Synthesizer {
 public:
  static constexpr std::size_t kCacheBytes = 4 * 1024 * 1024;
  // A tune whose samples would take more than this is synthesised as it plays.
  static constexpr std::size_t kMaxRenderedBytes = 16 * 1024 * 1024;

  // on_end runs on the audio thread when a tune has played its last event.
  Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end);
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
  std::size_t cached_bytes();

 private:
  enum class State { kLoading, kReady, kFailed };
  void Load(int sample_rate, std::vector<std::string> soundfonts);
  void Begin(std::vector<unsigned char> tune);  // with mutex_ held
  void StartLivePlayer(const std::vector<unsigned char>& tune);  // with mutex_ and synth_mutex_ held
  void DeleteLivePlayer();  // with synth_mutex_ held
  void Reset();             // with synth_mutex_ held
  void RenderLive(std::int16_t* stereo, int frames, bool& ended);
  void PlayRendered(std::int16_t* stereo, int frames, bool& ended);
  void RenderingThread();
  void RenderTune(const std::shared_ptr<RenderedTune>& tune);
  // With synth_mutex_ held: gives the synthesiser to a tune to render, from
  // a reset state; and renders its next block (true when it is complete).
  bool StartJobPlayer(RenderedTune& tune);
  bool RenderBlock(RenderedTune& tune, long& since_voices);
  void DeleteJobPlayer();

  std::mutex mutex_;        // the playing state; the audio thread only tries it
  std::mutex synth_mutex_;  // the synthesiser itself, taken a block at a time
  std::condition_variable loaded_;
  State state_ = State::kLoading;
  int sample_rate_ = 44100;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  std::optional<std::vector<unsigned char>> pending_;  // started before the SoundFont was loaded

  // What plays: a rendered tune from its playhead, or a live player.
  std::shared_ptr<RenderedTune> playing_;
  std::size_t playhead_ = 0;
  fluid_player_t* live_ = nullptr;
  bool finished_ = false;  // the tune playing has passed its last event
  long silent_frames_ = 0;  // live: rendered since the last voice
  long tail_frames_;        // how long the reverb may ring on once the voices have ended
  std::atomic<bool> busy_{false};
  std::atomic<bool> sounding_{false};
  std::function<void()> on_end_;
  std::atomic<double> load_ms_{0};

  // The rendering thread's player, under synth_mutex_: a live tune that
  // takes the synthesiser over deletes it, which tells that thread to stop.
  fluid_player_t* job_player_ = nullptr;
  RenderedTune* job_player_tune_ = nullptr;  // the tune it renders

  // The rendering thread's work: one tune at a time, the newest asked for.
  std::mutex jobs_mutex_;
  std::condition_variable jobs_changed_;
  std::shared_ptr<RenderedTune> job_;
  bool quitting_ = false;
  TuneCache cache_{kCacheBytes};  // under jobs_mutex_

  std::thread loader_;
  std::thread renderer_;
};

}  // namespace sound
