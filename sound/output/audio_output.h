#pragma once
// The audio output: SDL's audio and the mixer on it, opened once at start-up
// and owned here alone. Nothing else opens, closes or asks the mixer anything
// except through Run or IfAwake, which hold the output open meanwhile.
//
// The output sleeps (closes) when no tune, tail or effect has been heard for
// two seconds, so that an idle program does no audio work at all, and wakes,
// in the same format, for whatever starts a sound. The pauses between passes
// of a looping tune are shorter: the output stays on.
//
// SDL_mixer 2.6 frees its channel table when it closes, and Mix_HaltChannel
// and Mix_Playing walk that table without looking: any of them on a closed
// mixer is a crash, which is why every call goes through here.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/thread.h"
#include "sound/output/output_format.h"

namespace sound {

class AudioOutput {
 public:
  // Mixes the music into a block of the output's format, on the audio thread.
  using MusicMixer = void (*)(void* user, unsigned char* stream, int bytes);

  // Opens the output; nothing (after a notice on standard error) when there
  // is no audio device.
  static std::unique_ptr<AudioOutput> Open();
  // Stops the watcher, halts and closes an open mixer, and lets SDL's audio go.
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  const OutputFormat& format() const { return format_; }

  // The music under the effects (null for none), and what says that it is
  // still to be heard; kept across sleep and wake. With the mixer null, the
  // music callback has returned for the last time when SetMusic does, and
  // nothing RunSoon kept runs any more.
  void SetMusic(MusicMixer mixer, void* user, std::function<bool()> sounding);

  // Wakes the output if it sleeps and runs `start` (which starts a sound)
  // with it open; false, and `start` not run, when it cannot be woken. The
  // caller waits for the device while it reopens: for worker threads.
  bool Run(const std::function<void()>& start);
  // The same for the user-interface thread, which never waits for the
  // device: when the output sleeps, `start` runs on the watcher's thread once
  // it has woken the output, or `refused` instead when it cannot.
  void RunSoon(std::function<void()> start, std::function<void()> refused);
  // Runs `look` (which may ask the mixer what it plays) only while the
  // output is open.
  void IfAwake(const std::function<void()>& look);
  bool asleep();

  // How often the watcher looks whether anything sounds, and after how many
  // silent looks in a row (two seconds) the output sleeps.
  static constexpr int kWatchMs = 250;
  static constexpr int kQuietLooks = 8;

 private:
  explicit AudioOutput(OutputFormat format);
  bool Reopen(std::unique_lock<std::mutex>& lock);  // with mutex_ held by `lock`
  void Close();   // with mutex_ held
  bool Sounding();  // with mutex_ held, open
  void Watch();

  const OutputFormat format_;
  std::mutex mutex_;
  std::condition_variable changed_;  // stopping, or the output woken
  bool open_ = true;
  bool reopening_ = false;  // a thread opens the device, without the lock
  bool stopping_ = false;
  MusicMixer music_ = nullptr;
  void* music_user_ = nullptr;
  std::function<bool()> music_sounding_;
  struct Soon {
    std::function<void()> start, refused;
  };
  std::vector<Soon> soon_;  // kept by RunSoon for the watcher
  rt::Thread watcher_;  // joined: it waits on changed_ alone
};

}  // namespace sound
