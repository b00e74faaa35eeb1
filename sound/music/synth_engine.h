#pragma once
// The synthesiser's insides (synthesizer.h is its face): the one FluidSynth
// synthesiser and its SoundFont, loaded by a thread of its own, and the
// playing state the audio thread reads, with the live player; the tunes
// rendered ahead are the TuneRenderer's (tune_renderer.h). Its threads keep it alive: a SoundFont
// still loading or a block still rendering when the program ends is
// abandoned, not waited for, and the engine goes when the last of them has
// let it go.
//
// Locks, always taken in this order, never the other way round:
//   mutex_        the playing state; the audio thread only tries it
//   synth_mutex_  the synthesiser itself, taken a block at a time
//   the renderer's own lock: the rendering thread's work and the cache
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

#include "sound/music/fluid_ptrs.h"
#include "sound/music/peak_limiter.h"
#include "sound/music/rendered_tune.h"
#include "sound/music/synthesizer.h"
#include "sound/music/tune_renderer.h"

namespace sound {

class SynthEngine : public std::enable_shared_from_this<SynthEngine> {
 public:
  // on_end runs on the audio thread when a tune has played its last event.
  SynthEngine(int sample_rate, std::function<void()> on_end);
  SynthEngine(const SynthEngine&) = delete;
  SynthEngine& operator=(const SynthEngine&) = delete;

  // Starts the loading and rendering threads, which hold the engine.
  void Launch(std::vector<std::string> soundfonts);
  // Tells both threads to end, and waits for neither.
  void Quit();

  // What Synthesizer offers (see there), which forwards to these.
  void Render(std::int16_t* stereo, int frames);
  bool Start(std::span<const unsigned char> midi);
  void Stop();
  bool Busy() const { return busy_.load(std::memory_order_acquire); }
  bool Sounding() const { return sounding_.load(std::memory_order_acquire); }
  bool WaitUntilLoaded();
  void WaitUntilRendered();
  double load_ms() const { return load_ms_; }
  std::size_t cached_bytes();

 private:
  enum class State { kLoading, kReady, kFailed };
  void Load(int sample_rate, std::vector<std::string> soundfonts);
  void Begin(std::vector<unsigned char> tune);  // with mutex_ held
  void StartLivePlayer(const std::vector<unsigned char>& tune);  // with mutex_ and synth_mutex_ held
  void DeleteLivePlayer();  // with synth_mutex_ held
  void RenderLive(std::int16_t* stereo, int frames, bool& ended);
  void PlayRendered(std::int16_t* stereo, int frames, bool& ended);

  std::mutex mutex_;
  std::mutex synth_mutex_;
  std::condition_variable loaded_;
  State state_ = State::kLoading;
  int sample_rate_ = 44100;
  FluidSettingsPtr settings_;  // under synth_mutex_, as the synthesiser
  FluidSynthPtr synth_;
  PeakLimiter limiter_;  // under synth_mutex_, as the synthesiser it follows
  std::optional<std::vector<unsigned char>> pending_;  // started before the SoundFont was loaded

  // What plays: a rendered tune from its playhead, or a live player.
  std::shared_ptr<RenderedTune> playing_;
  std::size_t playhead_ = 0;
  FluidPlayerPtr live_;
  bool finished_ = false;  // the tune playing has passed its last event
  long silent_frames_ = 0;  // live: rendered since the last voice
  long tail_frames_;        // how long the reverb may ring on once the voices have ended
  std::atomic<bool> busy_{false};
  std::atomic<bool> sounding_{false};
  std::function<void()> on_end_;
  std::atomic<double> load_ms_{0};
  TuneRenderer renderer_;
  bool quit_ = false;  // under mutex_: a SoundFont loaded now is let go
};

}  // namespace sound
