#include "sound/format/riff_midi.h"

#include <cstdint>
#include <cstring>

#include "runtime/byte_reader.h"
#include "sound/format/riff.h"

namespace sound {

std::optional<std::span<const unsigned char>> MidiInRiff(std::span<const unsigned char> bytes) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return bytes;
  if (bytes.size() < 12 || std::memcmp(bytes.data() + 8, "RMID", 4) != 0) return std::nullopt;
  const std::uint32_t form = rt::Le32(bytes, 4);
  if (form < 4 || form > bytes.size() - 8) return std::nullopt;
  // Anything after the form is not read.
  std::optional<std::span<const unsigned char>> midi;
  const bool whole = ForEachChunk(bytes.subspan(12, form - 4), false, [&](std::string_view id, auto body) {
    if (id == "data") midi = body;
    return !midi;
  });
  if (!whole) return std::nullopt;
  return midi;
}

}  // namespace sound
