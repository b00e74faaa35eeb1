#include "sound/synthesizer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace sound {

std::vector<std::string> DefaultSoundFonts() {
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
          "/usr/share/soundfonts/FluidR3_GM.sf2"};
}

Synthesizer::Synthesizer(int sample_rate, std::vector<std::string> soundfonts, std::function<void()> on_end)
    : on_end_(std::move(on_end)) {
  loader_ = std::thread([this, sample_rate, fonts = std::move(soundfonts)]() mutable { Load(sample_rate, std::move(fonts)); });
}

Synthesizer::~Synthesizer() {
  if (loader_.joinable()) loader_.join();
  std::lock_guard lock(mutex_);
  DeletePlayer();
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

void Synthesizer::Load(int sample_rate, std::vector<std::string> soundfonts) {
  const auto start = std::chrono::steady_clock::now();
  // Our own messages say what matters; the library's would repeat them.
  for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_synth_t* synth = nullptr;
  std::string found;
  if (settings) {
    fluid_settings_setnum(settings, "synth.sample-rate", sample_rate);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(settings, "synth.gain", 0.7);  // the default 0.2 is faint beside the effects
    synth = new_fluid_synth(settings);
  }
  for (const auto& path : soundfonts) {
    std::error_code ec;
    if (!synth || !std::filesystem::is_regular_file(path, ec)) continue;
    if (fluid_synth_sfload(synth, path.c_str(), 1) != FLUID_FAILED) {
      found = path;
      break;
    }
  }
  load_ms_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (found.empty()) {
    std::string looked;
    for (const auto& p : soundfonts) looked += (looked.empty() ? "" : ", ") + p;
    std::fprintf(stderr, "Radaded 2K: no General MIDI SoundFont could be loaded (looked for %s); the music is silent\n",
                 looked.c_str());
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
    std::lock_guard lock(mutex_);
    state_ = State::kFailed;
    tune_.reset();
    UpdateBusy();
    loaded_.notify_all();
    return;
  }
  std::lock_guard lock(mutex_);
  settings_ = settings;
  synth_ = synth;
  tail_frames_ = 3L * sample_rate;
  state_ = State::kReady;
  if (tune_) StartPlayer();
  UpdateBusy();
  loaded_.notify_all();
}

bool Synthesizer::WaitUntilLoaded() {
  std::unique_lock lock(mutex_);
  loaded_.wait(lock, [this] { return state_ != State::kLoading; });
  return state_ == State::kReady;
}

void Synthesizer::StartPlayer() {
  DeletePlayer();
  finished_ = false;
  player_ = new_fluid_player(synth_);
  if (!player_ || fluid_player_add_mem(player_, tune_->data(), tune_->size()) != FLUID_OK ||
      fluid_player_play(player_) != FLUID_OK) {
    DeletePlayer();
    finished_ = true;
  }
  tune_.reset();
}

void Synthesizer::DeletePlayer() {
  if (player_) {
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
  }
  if (synth_) {
    fluid_synth_all_sounds_off(synth_, -1);
    fluid_synth_system_reset(synth_);
  }
}

bool Synthesizer::Start(std::span<const unsigned char> midi) {
  std::lock_guard lock(mutex_);
  if (state_ == State::kFailed) return false;
  tune_.emplace(midi.begin(), midi.end());
  finished_ = false;
  if (state_ == State::kReady) StartPlayer();
  UpdateBusy();
  return true;
}

void Synthesizer::Stop() {
  std::lock_guard lock(mutex_);
  tune_.reset();
  DeletePlayer();
  finished_ = false;
  UpdateBusy();
}

void Synthesizer::UpdateBusy() { busy_.store(tune_.has_value() || (player_ && !finished_), std::memory_order_release); }

void Synthesizer::Render(std::int16_t* stereo, int frames) {
  bool ended = false;
  {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock() || state_ != State::kReady) {
      std::memset(stereo, 0, static_cast<std::size_t>(frames) * 4);
      return;
    }
    // With no tune and no voice left, only the reverb's tail remains; once
    // that has died away the synthesiser is not run at all, so that an idle
    // program costs nothing for its music.
    if (player_ || fluid_synth_get_active_voice_count(synth_) > 0) silent_frames_ = 0;
    if (silent_frames_ >= tail_frames_) {
      std::memset(stereo, 0, static_cast<std::size_t>(frames) * 4);
      return;
    }
    silent_frames_ += frames;
    fluid_synth_write_s16(synth_, frames, stereo, 0, 2, stereo, 1, 2);
    if (player_ && !finished_) {
      // The end is the last event of the longest track, not the end of the
      // voices' release tails, which ring on after it.
      const int total = fluid_player_get_total_ticks(player_);
      if (fluid_player_get_status(player_) == FLUID_PLAYER_DONE ||
          (total > 0 && fluid_player_get_current_tick(player_) >= total)) {
        finished_ = true;
        ended = true;
        UpdateBusy();
      }
    }
  }
  if (ended && on_end_) on_end_();
}

}  // namespace sound
