#include "sound/music/synthesizer.h"

#include <algorithm>
#include <cstdlib>

#include "sound/music/synth_engine.h"

namespace sound {

std::vector<std::string> DefaultSoundFonts() {
  // SDL_SOUNDFONTS, as SDL_mixer's programs read it: paths between ':' or ';'.
  if (const char* chosen = std::getenv("SDL_SOUNDFONTS"); chosen && *chosen) {
    std::vector<std::string> paths;
    std::string list = chosen;
    for (std::size_t at = 0; at <= list.size();) {
      const std::size_t end = std::min(list.find_first_of(":;", at), list.size());
      if (end > at) paths.push_back(list.substr(at, end - at));
      at = end + 1;
    }
    return paths;
  }
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
          "/usr/share/soundfonts/FluidR3_GM.sf2"};
}

Synthesizer::Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end)
    : engine_(std::make_shared<SynthEngine>(sample_rate, std::move(on_end))) {
  engine_->Launch(std::move(soundfonts));
}

Synthesizer::~Synthesizer() { engine_->Quit(); }

void Synthesizer::Render(std::int16_t* stereo, int frames) { engine_->Render(stereo, frames); }
bool Synthesizer::Start(std::span<const unsigned char> midi) { return engine_->Start(midi); }
void Synthesizer::Stop() { engine_->Stop(); }
bool Synthesizer::Busy() const { return engine_->Busy(); }
bool Synthesizer::Sounding() const { return engine_->Sounding(); }
bool Synthesizer::WaitUntilLoaded() { return engine_->WaitUntilLoaded(); }
void Synthesizer::WaitUntilRendered() { engine_->WaitUntilRendered(); }
double Synthesizer::load_ms() const { return engine_->load_ms(); }
std::size_t Synthesizer::cached_bytes() { return engine_->cached_bytes(); }

}  // namespace sound
