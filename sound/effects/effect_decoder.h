#pragma once
// Turns a WAV file into sound ready for the mixer: decoded as the story
// checker judges it (format/story_sound.h) and converted to the output's
// rate and format. Nothing when any step fails.
#include <optional>
#include <span>
#include <vector>

#include "sound/format/story_sound.h"
#include "sound/output/output_format.h"

namespace sound {

std::optional<std::vector<unsigned char>> ConvertEffect(const Effect& effect, const OutputFormat& out);

inline std::optional<std::vector<unsigned char>> DecodeEffect(std::span<const unsigned char> wav, const OutputFormat& out) {
  const auto effect = DecodeEffect(wav);
  if (!effect) return std::nullopt;
  return ConvertEffect(*effect, out);
}

}  // namespace sound
