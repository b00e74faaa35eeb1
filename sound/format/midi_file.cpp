#include "sound/format/midi_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "runtime/byte_reader.h"
#include "sound/format/riff_midi.h"

namespace sound {
namespace {

using Bytes = std::span<const unsigned char>;
using Out = std::vector<unsigned char>;

void PutBe32(Out& out, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<unsigned char>(v >> (24 - 8 * k));
}

// Reads a variable-length quantity of at most four bytes.
bool ReadVarLen(Bytes t, std::size_t& i, std::uint32_t& value) {
  value = 0;
  for (int n = 0; n < 4; ++n) {
    if (i >= t.size()) return false;
    const unsigned char b = t[i++];
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

void PutVarLen(Out& out, std::uint32_t value) {
  unsigned char buffer[4];
  int n = 0;
  do {
    buffer[n++] = value & 0x7F;
    value >>= 7;
  } while (value && n < 4);
  while (n-- > 0) out.push_back(static_cast<unsigned char>(buffer[n] | (n ? 0x80 : 0)));
}

// One event of a track: its delta time, its status (running status spelled
// out), for a meta event its type, and its data bytes.
struct Event {
  std::uint32_t delta = 0;
  unsigned status = 0;
  unsigned type = 0;
  Bytes data;
};

// Reads the event at i; false when it is malformed or cut off.
bool ReadEvent(Bytes t, std::size_t& i, unsigned& running, Event& e) {
  if (!ReadVarLen(t, i, e.delta) || i >= t.size()) return false;
  e.status = t[i];
  if (e.status & 0x80) {
    ++i;
  } else {
    if (running == 0) return false;  // data with no status to run on
    e.status = running;
  }
  std::uint32_t len = 0;
  if (e.status == 0xFF) {  // meta event
    if (i >= t.size()) return false;
    e.type = t[i++];
    if (!ReadVarLen(t, i, len) || len > t.size() - i) return false;
    if (e.type == 0x51 && len != 3) return false;  // tempo
  } else if (e.status == 0xF0 || e.status == 0xF7) {  // system exclusive
    if (!ReadVarLen(t, i, len) || len > t.size() - i) return false;
  } else if (e.status >= 0xF1) {
    return false;  // system common and real-time messages have no place in a file
  } else {
    const unsigned kind = e.status & 0xF0;
    len = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (len > t.size() - i) return false;
    for (std::size_t k = 0; k < len; ++k)
      if (t[i + k] & 0x80) return false;
    running = e.status;
  }
  e.data = t.subspan(i, len);
  i += len;
  return true;
}

// Checks one track's events and appends them, each with its status, to out.
bool NormaliseTrack(Bytes t, Out& out) {
  std::size_t i = 0;
  unsigned running = 0;
  Event e;
  while (i < t.size()) {
    if (!ReadEvent(t, i, running, e)) return false;
    PutVarLen(out, e.delta);
    out.push_back(static_cast<unsigned char>(e.status));
    if (e.status == 0xFF) out.push_back(static_cast<unsigned char>(e.type));
    if (e.status >= 0xF0) PutVarLen(out, static_cast<std::uint32_t>(e.data.size()));
    out.insert(out.end(), e.data.begin(), e.data.end());
    if (e.status == 0xFF && e.type == 0x2F) return true;  // anything after the end of the track is ignored
  }
  out.insert(out.end(), {0x00, 0xFF, 0x2F, 0x00});  // a track that ran out without its end
  return true;
}

}  // namespace

std::optional<Out> NormaliseMidi(Bytes file) {
  const auto inner = MidiInRiff(file);
  if (!inner) return std::nullopt;
  const Bytes bytes = *inner;
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return std::nullopt;
  const std::uint32_t header_length = rt::Be32(bytes, 4);
  if (header_length < 6 || header_length > bytes.size() - 8) return std::nullopt;
  const unsigned format = rt::Be16(bytes, 8);
  const unsigned tracks = rt::Be16(bytes, 10);
  const unsigned division = rt::Be16(bytes, 12);
  if (format > 2 || tracks == 0 || division == 0) return std::nullopt;
  if ((division & 0x8000) && (division & 0xFF) == 0) return std::nullopt;  // SMPTE time with no ticks per frame

  Out out(bytes.begin(), bytes.begin() + 14);
  PutBe32(out, 4, 6);
  std::size_t i = 8 + header_length;
  unsigned found = 0;
  while (found < tracks) {
    if (bytes.size() - i < 8) return std::nullopt;
    const std::uint32_t length = rt::Be32(bytes, i + 4);
    if (length > bytes.size() - i - 8) return std::nullopt;
    if (std::memcmp(bytes.data() + i, "MTrk", 4) == 0) {
      const std::size_t start = out.size();
      out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
      if (!NormaliseTrack(bytes.subspan(i + 8, length), out)) return std::nullopt;
      PutBe32(out, start + 4, static_cast<std::uint32_t>(out.size() - start - 8));
      ++found;
    }
    i += 8 + length;
  }
  return out;
}

double MidiSeconds(Bytes tune) {
  if (tune.size() < 14) return 0;
  const unsigned division = rt::Be16(tune, 12);
  std::vector<std::pair<std::uint64_t, std::uint32_t>> tempos;  // tick, microseconds a beat
  std::uint64_t last = 0;
  for (std::size_t i = 14; i <= tune.size() && tune.size() - i >= 8;) {
    const std::uint32_t length = rt::Be32(tune, i + 4);
    const auto t = tune.subspan(i + 8, std::min<std::size_t>(length, tune.size() - i - 8));
    std::uint64_t tick = 0;
    unsigned running = 0;
    Event e;
    for (std::size_t k = 0; k < t.size() && ReadEvent(t, k, running, e);) {
      tick += e.delta;
      if (e.status == 0xFF && e.type == 0x51)
        tempos.emplace_back(tick, rt::Be24(e.data, 0));
    }
    last = std::max(last, tick);
    i += 8 + length;
  }
  if (division & 0x8000) {  // SMPTE: frames a second times ticks a frame
    const double fps = 256 - (division >> 8);
    return last / (fps * (division & 0xFF));
  }
  std::sort(tempos.begin(), tempos.end());
  double seconds = 0;
  std::uint64_t at = 0;
  std::uint32_t tempo = 500000;
  for (const auto& [tick, microseconds] : tempos) {
    if (tick >= last) break;
    seconds += static_cast<double>(tick - at) * tempo / 1e6 / division;
    at = tick;
    tempo = microseconds;
  }
  return seconds + static_cast<double>(last - at) * tempo / 1e6 / division;
}

}  // namespace sound
