#include "picture/bitmap_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "picture/pixels.h"
#include "runtime/byte_reader.h"

namespace pic {
namespace {

using Bytes = std::span<const unsigned char>;

// One colour channel given by a bit mask, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (bits < 32 - shift && ((m >> (shift + bits)) & 1)) ++bits;
  }
  unsigned Of(std::uint32_t px) const {
    if (!mask) return 0;
    const std::uint32_t v = (px & mask) >> shift;
    const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<unsigned>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
  }
};

struct Dib {
  long long width = 0, height = 0;
  bool top_down = false;
  unsigned bpp = 0;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;  // opaque ARGB
  Channel r, g, b, a;
};

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// Reads the header and palette that begin at `b`; `pixels_at` is where the
// palette ends, unless the file says otherwise.
bool ReadDibHeader(Bytes b, Dib& d, std::size_t& palette_end) {
  if (b.size() < 12) return false;
  const std::uint32_t header = rt::Le32(b, 0);
  if (header > b.size()) return false;
  std::size_t entry_bytes = 4;
  std::size_t colours = 0;
  if (header == 12) {  // the old core header
    d.width = rt::Le16(b, 4);
    d.height = rt::Le16(b, 6);
    d.bpp = rt::Le16(b, 10);
    entry_bytes = 3;
    colours = d.bpp <= 8 ? 1u << d.bpp : 0;
  } else {
    if (header < 40) return false;
    d.width = static_cast<std::int32_t>(rt::Le32(b, 4));
    const auto h = static_cast<std::int32_t>(rt::Le32(b, 8));
    d.top_down = h < 0;
    d.height = std::llabs(static_cast<long long>(h));
    d.bpp = rt::Le16(b, 14);
    d.compression = rt::Le32(b, 16);
    const std::uint32_t used = rt::Le32(b, 32);
    colours = d.bpp <= 8 ? (used ? used : 1u << d.bpp) : used;
  }
  if (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 16 && d.bpp != 24 && d.bpp != 32) return false;
  if (colours > 256 && d.bpp <= 8) return false;
  std::size_t at = header;
  if (d.compression == kBitFields || d.compression == kAlphaBitFields) {
    if (d.bpp != 16 && d.bpp != 32) return false;
    const std::size_t masks = d.compression == kAlphaBitFields ? 4 : 3;
    // Version 4 and 5 headers hold the masks; older ones are followed by them.
    const std::size_t masks_at = header >= 52 ? 40 : header;
    if (b.size() < masks_at + 4 * masks) return false;
    d.r = Channel(rt::Le32(b, masks_at));
    d.g = Channel(rt::Le32(b, masks_at + 4));
    d.b = Channel(rt::Le32(b, masks_at + 8));
    if (masks == 4 || header >= 56) d.a = Channel(rt::Le32(b, masks_at + 12));
    if (header < 52) at += 4 * masks;
  } else if (d.compression == kRgb && d.bpp == 16) {
    d.r = Channel(0x7C00), d.g = Channel(0x03E0), d.b = Channel(0x001F);
  } else if (d.compression == kRgb && d.bpp == 32) {
    d.r = Channel(0xFF0000), d.g = Channel(0xFF00), d.b = Channel(0xFF);
  } else if (!(d.compression == kRgb || (d.compression == kRle8 && d.bpp == 8) || (d.compression == kRle4 && d.bpp == 4))) {
    return false;
  }
  if (d.bpp > 8) colours = 0;  // a palette beside true colour is only a hint
  else if (b.size() - at < colours * entry_bytes) return false;
  for (std::size_t k = 0; k < colours; ++k) {
    const unsigned char* c = b.data() + at + entry_bytes * k;
    d.palette.push_back(Argb(255, c[2], c[1], c[0]));
  }
  palette_end = at + colours * entry_bytes;
  return AcceptablePictureSize(d.width, d.height);
}

std::uint32_t PaletteColour(const Dib& d, unsigned index) {
  return index < d.palette.size() ? d.palette[index] : Argb(255, 0, 0, 0);
}

// Uncompressed rows, bottom-up unless the header says otherwise. False for a
// file cut short: a row's pixels missing (only the last row's padding may be).
bool ReadRows(Bytes b, std::size_t at, const Dib& d, PictureData& out) {
  const std::size_t stride = ((static_cast<std::size_t>(d.width) * d.bpp + 31) / 32) * 4;
  const std::size_t row_bytes = (static_cast<std::size_t>(d.width) * d.bpp + 7) / 8;
  for (long long row = 0; row < d.height; ++row) {
    if (at > b.size() || b.size() - at < stride * row + row_bytes) return false;
    const unsigned char* p = b.data() + at + stride * row;
    const long long y = d.top_down ? row : d.height - 1 - row;
    std::uint32_t* line = &out.argb[static_cast<std::size_t>(y * d.width)];
    for (long long x = 0; x < d.width; ++x) {
      switch (d.bpp) {
        case 32:
        case 16: {
          const std::uint32_t px = d.bpp == 32 ? rt::Le32(b, at + stride * row + 4 * x) : rt::Le16(b, at + stride * row + 2 * x);
          line[x] = Argb(d.a.mask ? d.a.Of(px) : 255, d.r.Of(px), d.g.Of(px), d.b.Of(px));
          break;
        }
        case 24: line[x] = Argb(255, p[3 * x + 2], p[3 * x + 1], p[3 * x]); break;
        default: {
          const unsigned per_byte = 8 / d.bpp;
          const unsigned shift = 8 - d.bpp * (x % per_byte + 1);
          line[x] = PaletteColour(d, (p[x / per_byte] >> shift) & ((1u << d.bpp) - 1));
        }
      }
    }
  }
  return true;
}

// Run-length encoded rows (8 or 4 bits); pixels the runs skip stay
// transparent. False for a file cut short: its runs ending before the last
// row, with no end-of-bitmap code.
bool ReadRle(Bytes b, std::size_t at, const Dib& d, PictureData& out) {
  long long x = 0, row = 0;
  const auto put = [&](unsigned index) {
    if (x < d.width && row < d.height) {
      const long long y = d.top_down ? row : d.height - 1 - row;
      out.argb[static_cast<std::size_t>(y * d.width + x)] = PaletteColour(d, index);
    }
    ++x;
  };
  std::size_t i = at;
  while (i + 1 < b.size() && row < d.height) {
    const unsigned count = b[i], value = b[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k) put(d.bpp == 8 ? value : (k % 2 ? value & 15 : value >> 4));
    } else if (value == 0) {
      x = 0, ++row;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (i + 1 >= b.size()) break;
      x += b[i], row += b[i + 1];
      i += 2;
    } else {
      const std::size_t bytes = d.bpp == 8 ? value : (value + 1) / 2;
      if (b.size() - i < bytes) break;
      for (unsigned k = 0; k < value; ++k)
        put(d.bpp == 8 ? b[i + k] : (k % 2 ? b[i + k / 2] & 15 : b[i + k / 2] >> 4));
      i += (bytes + 1) & ~std::size_t{1};
    }
  }
  return row >= d.height - 1;
}

}  // namespace

// A BMP file: the file header, then the bitmap.
std::optional<PictureData> DecodeBmp(Bytes b) {
  if (b.size() < 26) return std::nullopt;
  Dib d;
  std::size_t palette_end = 0;
  if (!ReadDibHeader(b.subspan(14), d, palette_end)) return std::nullopt;
  const std::uint32_t offset = rt::Le32(b, 10);
  const std::size_t pixels_at = offset >= 14 + palette_end && offset < b.size() ? offset : 14 + palette_end;
  auto out = BlankPicture(d.width, d.height);
  const bool rle = d.compression == kRle8 || d.compression == kRle4;
  if (!rle) std::fill(out->argb.begin(), out->argb.end(), Argb(255, 0, 0, 0));
  if (!(rle ? ReadRle(b, pixels_at, d, *out) : ReadRows(b, pixels_at, d, *out))) return std::nullopt;
  // 32-bit pixels whose alpha byte is zero everywhere were written with no
  // alpha in mind: they are opaque.
  if (d.a.mask && std::all_of(out->argb.begin(), out->argb.end(), [](std::uint32_t px) { return (px >> 24) == 0; }))
    for (auto& px : out->argb) px |= 0xFF000000u;
  return out;
}

// An icon's bitmap entry: a colour image over an AND mask, stacked. A 32-bit
// image's own alpha decides where it has any; otherwise the mask does.
std::optional<PictureData> DecodeIconBitmap(Bytes b) {
  Dib d;
  std::size_t palette_end = 0;
  if (b.size() < 40 || rt::Le32(b, 16) != kRgb) return std::nullopt;
  const long long stacked = static_cast<std::int32_t>(rt::Le32(b, 8));
  if (stacked <= 1 || !ReadDibHeader(b, d, palette_end)) return std::nullopt;
  d.height = stacked / 2;
  d.top_down = false;
  if (d.width > 256 || d.height > 256) return std::nullopt;
  if (d.bpp == 32) d.a = Channel(0xFF000000u);
  auto out = BlankPicture(d.width, d.height);
  if (!ReadRows(b, palette_end, d, *out)) return std::nullopt;
  const bool own_alpha =
      d.bpp == 32 && std::any_of(out->argb.begin(), out->argb.end(), [](std::uint32_t px) { return (px >> 24) != 0; });
  const std::size_t stride = ((static_cast<std::size_t>(d.width) * d.bpp + 31) / 32) * 4;
  const std::size_t mask_stride = ((static_cast<std::size_t>(d.width) + 31) / 32) * 4;
  const std::size_t mask_at = palette_end + stride * d.height;
  const bool has_mask = mask_at <= b.size() && b.size() - mask_at >= mask_stride * d.height;
  if (own_alpha) return out;
  for (long long y = 0; y < d.height; ++y) {
    const unsigned char* mask = has_mask ? b.data() + mask_at + mask_stride * (d.height - 1 - y) : nullptr;
    for (long long x = 0; x < d.width; ++x) {
      std::uint32_t& px = out->argb[static_cast<std::size_t>(y * d.width + x)];
      const bool clear = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
      px = clear ? 0 : (px | 0xFF000000u);
    }
  }
  return out;
}

}  // namespace pic
