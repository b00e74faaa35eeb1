#pragma once
// The sound system opened on a thread of its own, so that nothing waits for
// the audio device (which can take a tenth of a second to open, or to find
// that there is none, or hang): until it is open, what is asked of the music
// and the effects is kept, and then done in the order asked, as soon as it
// is. The opening thread is abandoned, never waited for: a device still
// opening when the program ends is let go by that thread once it opens.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/thread.h"
#include "sound/effect_player.h"
#include "sound/midi_device.h"

namespace sound {

class SoundSystem;

class SoundOpener {
 public:
  // Starts `open` on its own thread at once.
  explicit SoundOpener(std::function<std::unique_ptr<SoundSystem>()> open);
  // Lets the sound system go if it is open; one still opening is abandoned.
  ~SoundOpener();
  SoundOpener(const SoundOpener&) = delete;
  SoundOpener& operator=(const SoundOpener&) = delete;

  MidiDevice& midi() { return midi_; }
  EffectPlayer& effects() { return effects_; }
  // The opening has ended, the system open or not there.
  bool opened();

 private:
  using Request = std::function<void(SoundSystem&)>;
  // Does the request now when the system is open, else keeps it; a request
  // of the music's says what it leaves the kept tune's mode as.
  using KeptMode = std::function<std::string(const std::string& before)>;
  void Do(Request request, const KeptMode& kept_mode = {});

  class Midi final : public MidiDevice {
   public:
    explicit Midi(SoundOpener& owner) : owner_(owner) {}
    void Open(const std::string& name) override;
    void Play() override;
    void Close() override;
    std::string Mode() override;

   private:
    SoundOpener& owner_;
  };
  class Effects final : public EffectPlayer {
   public:
    explicit Effects(SoundOpener& owner) : owner_(owner) {}
    void Play(const std::string& name) noexcept override;

   private:
    SoundOpener& owner_;
  };

  // What the opening thread shares, and holds for as long as it runs.
  struct Shared {
    std::mutex mutex;
    std::condition_variable opened;
    std::unique_ptr<SoundSystem> system;
    bool open = false;
    bool abandoned = false;
    std::vector<Request> kept;
    // The mode the kept requests leave the tune in, answered while the
    // device opens: a tune asked for counts as playing.
    std::string kept_mode;
  };
  const std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  Midi midi_{*this};
  Effects effects_{*this};
  rt::Thread thread_;
};

}  // namespace sound
