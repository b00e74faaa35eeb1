#pragma once
// The one FluidSynth synthesiser of the process, with its General MIDI
// SoundFont, rendering into the audio output's music stream. The SoundFont
// loads on a thread of its own, so that start-up does not wait for it; a tune
// started before then begins as soon as it is loaded.
#include <fluidsynth.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace sound {

// Where Debian and others keep a General MIDI SoundFont, most likely first.
std::vector<std::string> DefaultSoundFonts();

class Synthesizer {
 public:
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
  // Stops the tune and silences every voice at once.
  void Stop();
  // A tune is started and has not yet played its last event.
  bool Busy() const { return busy_.load(std::memory_order_acquire); }

  // Waits for the SoundFont load to end; true when it succeeded.
  bool WaitUntilLoaded();
  // How long the SoundFont took to load, in milliseconds.
  double load_ms() const { return load_ms_; }

 private:
  enum class State { kLoading, kReady, kFailed };
  void Load(int sample_rate, std::vector<std::string> soundfonts);
  void StartPlayer();  // with mutex_ held
  void DeletePlayer();  // with mutex_ held
  void UpdateBusy();    // with mutex_ held

  std::mutex mutex_;
  std::condition_variable loaded_;
  State state_ = State::kLoading;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  std::optional<std::vector<unsigned char>> tune_;  // the tune to play, kept until it starts
  bool finished_ = false;
  std::atomic<bool> busy_{false};  // what Busy() answers, kept by UpdateBusy
  long silent_frames_ = 0;  // rendered since the last voice or tune
  long tail_frames_ = 0;    // how long the reverb may ring on: 3 s
  std::function<void()> on_end_;
  std::atomic<double> load_ms_{0};
  std::thread loader_;
};

}  // namespace sound
