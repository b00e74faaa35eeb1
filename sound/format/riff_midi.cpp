#include "sound/format/riff_midi.h"

#include <cstdint>
#include <cstring>

#include "runtime/byte_reader.h"

namespace sound {

std::optional<std::span<const unsigned char>> MidiInRiff(std::span<const unsigned char> bytes) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return bytes;
  if (bytes.size() < 12 || std::memcmp(bytes.data() + 8, "RMID", 4) != 0) return std::nullopt;
  const std::uint32_t form = tk::Le32(bytes, 4);
  if (form < 4 || form > bytes.size() - 8) return std::nullopt;
  // The chunks of the form, each padded to an even length; anything after
  // the form is not read.
  const auto chunks = bytes.subspan(12, form - 4);
  for (std::size_t at = 0; at + 8 <= chunks.size();) {
    const std::uint32_t length = tk::Le32(chunks, at + 4);
    if (length > chunks.size() - at - 8) return std::nullopt;
    if (std::memcmp(chunks.data() + at, "data", 4) == 0) return chunks.subspan(at + 8, length);
    at += 8 + std::size_t{length} + (length & 1);
  }
  return std::nullopt;
}

}  // namespace sound
