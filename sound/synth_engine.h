#pragma once
// The synthesiser's insides (synthesizer.h is its face): the one FluidSynth
// synthesiser and its SoundFont, the playing state the audio thread reads,
// and the rendering thread's work. Its threads keep it alive: a SoundFont
// still loading or a block still rendering when the program ends is
// abandoned, not waited for, and the engine goes when the last of them has
// let it go.
//
// Locks, always taken in this order, never the other way round:
//   mutex_        the playing state; the audio thread only tries it
//   synth_mutex_  the synthesiser itself, taken a block at a time
//   jobs_mutex_   the rendering thread's work and the cache of tunes
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

#include "sound/fluid_ptrs.h"
#include "sound/rendered_tune.h"
#include "sound/synthesizer.h"
#include "sound/tune_cache.h"

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

  std::mutex mutex_;
  std::mutex synth_mutex_;
  std::condition_variable loaded_;
  State state_ = State::kLoading;
  int sample_rate_ = 44100;
  FluidSettingsPtr settings_;  // under synth_mutex_, as the synthesiser
  FluidSynthPtr synth_;
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

  // The rendering thread's player, under synth_mutex_: a live tune that
  // takes the synthesiser over deletes it, which tells that thread to stop.
  FluidPlayerPtr job_player_;
  RenderedTune* job_player_tune_ = nullptr;  // the tune it renders

  // The rendering thread's work: one tune at a time, the newest asked for.
  std::mutex jobs_mutex_;
  std::condition_variable jobs_changed_;
  std::shared_ptr<RenderedTune> job_;
  bool quitting_ = false;
  TuneCache cache_{Synthesizer::kCacheBytes};  // under jobs_mutex_
  bool quit_ = false;  // under mutex_: a SoundFont loaded now is let go
};

}  // namespace sound
