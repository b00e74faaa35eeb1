#pragma once
// The sound system opened on a thread of its own, so that nothing waits for
// the audio device (which can take a tenth of a second to open, or to find
// that there is none): until it is open, what is asked of the music and the
// effects is kept, and then done in the order asked, as soon as it is.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/effect_player.h"
#include "sound/midi_device.h"

namespace sound {

class SoundSystem;

class SoundOpener {
 public:
  // Starts `open` on its own thread at once.
  explicit SoundOpener(std::function<std::unique_ptr<SoundSystem>()> open);
  // Waits for the opening to end, then lets the sound system go.
  ~SoundOpener();
  SoundOpener(const SoundOpener&) = delete;
  SoundOpener& operator=(const SoundOpener&) = delete;

  MidiDevice& midi() { return midi_; }
  EffectPlayer& effects() { return effects_; }

 private:
  using Request = std::function<void(SoundSystem&)>;
  // Does the request now when the system is open, else keeps it.
  void Do(Request request);
  // Waits until the system is open, then does the request and answers.
  std::string Ask(const std::function<std::string(SoundSystem&)>& question);

  class Midi final : public MidiDevice {
   public:
    explicit Midi(SoundOpener& owner) : owner_(owner) {}
    void Open(const std::string& path) override;
    void Play() override;
    void Close() override;
    std::string Mode() override;

   private:
    SoundOpener& owner_;
  };
  class Effects final : public EffectPlayer {
   public:
    explicit Effects(SoundOpener& owner) : owner_(owner) {}
    void Play(const std::string& name) override;

   private:
    SoundOpener& owner_;
  };

  std::mutex mutex_;
  std::condition_variable opened_;
  std::unique_ptr<SoundSystem> system_;
  bool open_ = false;
  std::vector<Request> kept_;
  Midi midi_{*this};
  Effects effects_{*this};
  std::thread thread_;
};

}  // namespace sound
