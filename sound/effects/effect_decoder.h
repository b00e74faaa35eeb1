#pragma once
// Turns a WAV file into sound ready for the mixer: checked (wav_check.h),
// decoded by libsndfile, folded to at most two channels and converted to the
// output's rate and format. Nothing when any step fails.
#include <optional>
#include <span>
#include <vector>

#include "sound/output/output_format.h"

namespace sound {

std::optional<std::vector<unsigned char>> DecodeEffect(std::span<const unsigned char> wav, const OutputFormat& out);

}  // namespace sound
