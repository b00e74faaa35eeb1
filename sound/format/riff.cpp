#include "sound/format/riff.h"

#include <cstdint>

#include "runtime/byte_reader.h"

namespace sound {

bool ForEachChunk(std::span<const unsigned char> chunks, bool big_endian, const ChunkVisitor& visit) {
  const rt::ByteReader r{chunks, big_endian};
  for (std::size_t at = 0; chunks.size() - at >= 8;) {
    const std::uint32_t length = r.U32(at + 4);
    if (length > chunks.size() - at - 8) return false;
    const std::string_view id(reinterpret_cast<const char*>(chunks.data() + at), 4);
    if (!visit(id, chunks.subspan(at + 8, length))) return true;
    at += 8 + std::size_t{length} + (length & 1);
    if (at > chunks.size()) break;  // the pad byte of the last chunk is missing
  }
  return true;
}

}  // namespace sound
