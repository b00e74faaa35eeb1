#pragma once
// A story's tunes and effects, read from their files exactly as the player
// will play them, so that what the story checker passes is what is heard:
// the file found by its name as every story file is (runtime/file_names.h),
// a tune checked and normalised (midi_file.h), an effect checked
// (wav_check.h) and decoded by libsndfile into float frames.
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace sound {

// A file read as the player reads it: whether it was found at all, and what
// it holds when the player can play it.
template <typename T>
struct StorySound {
  bool found = false;
  std::optional<T> playable;
};

// An effect decoded: interleaved frames of at most two channels (more are
// folded onto two), at full scale 1.0, at the file's own rate.
struct Effect {
  std::vector<float> samples;
  int channels = 0;
  int rate = 0;
};

// The tune, normalised.
StorySound<std::vector<unsigned char>> ReadTune(std::string_view name);
StorySound<Effect> ReadEffect(std::string_view name);
// The effect in a WAV file's bytes; nothing when it is no effect the player plays.
std::optional<Effect> DecodeEffect(std::span<const unsigned char> wav);

}  // namespace sound
