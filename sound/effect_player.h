#pragma once
// What VN_WAV plays sound effects on.
#include <string>

namespace sound {

class EffectPlayer {
 public:
  virtual ~EffectPlayer() = default;
  // Starts the named WAV file once and returns while it plays. An effect
  // that cannot play is simply not heard.
  virtual void Play(const std::string& name) noexcept = 0;
};

class SilentEffectPlayer final : public EffectPlayer {
 public:
  void Play(const std::string&) noexcept override {}
};

}  // namespace sound
