#pragma once
// The chunks of a RIFF form (WAV, RMID) or of its big-endian twin RIFX: each
// a four-byte id, a 32-bit length, the body and a pad byte to an even
// length; the last chunk's pad byte may be missing.
#include <functional>
#include <span>
#include <string_view>

namespace sound {

using ChunkVisitor = std::function<bool(std::string_view id, std::span<const unsigned char> body)>;

// Calls `visit` for each chunk of `chunks` (the bytes after the form's
// type), in order, until it returns false. False when a chunk runs past the
// end of the bytes.
bool ForEachChunk(std::span<const unsigned char> chunks, bool big_endian, const ChunkVisitor& visit);

}  // namespace sound
