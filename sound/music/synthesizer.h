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
//
// Letting the synthesiser go never waits for a SoundFont still loading or a
// block still rendering: that work is abandoned, and ends on its own.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace sound {

class SynthEngine;

// Where Debian and others keep a General MIDI SoundFont, most likely first.
std::vector<std::string> DefaultSoundFonts();

class Synthesizer {
 public:
  static constexpr std::size_t kCacheBytes = 4 * 1024 * 1024;
  // A tune whose samples would take more than this is synthesised as it plays.
  static constexpr std::size_t kMaxRenderedBytes = 16 * 1024 * 1024;

  // on_end runs on the audio thread when a tune has played its last event.
  Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end);
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
  bool Busy() const;
  // Anything of the music is still to be heard (a tune, or its tail).
  bool Sounding() const;

  // Waits for the SoundFont load to end; true when it succeeded.
  bool WaitUntilLoaded();
  // Waits until the tune playing now is wholly rendered (tests, benchmarks).
  void WaitUntilRendered();
  // How long the SoundFont took to load, in milliseconds.
  double load_ms() const;
  // Rendered tunes kept, in bytes.
  std::size_t cached_bytes();

 private:
  std::shared_ptr<SynthEngine> engine_;
};

}  // namespace sound
