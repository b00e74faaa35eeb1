#include "toolkit/picture_decoder.h"

#include <gif_lib.h>
#include <png.h>
// libjpeg needs FILE and size_t declared before its header.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/byte_reader.h"
#include "toolkit/picture_format.h"

namespace tk {
namespace {

using Bytes = std::span<const unsigned char>;

std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) { return (a << 24) | (r << 16) | (g << 8) | b; }

std::optional<PictureData> Blank(long long w, long long h) {
  if (!AcceptablePictureSize(w, h)) return std::nullopt;
  PictureData p;
  p.width = static_cast<int>(w);
  p.height = static_cast<int>(h);
  p.argb.assign(static_cast<std::size_t>(w * h), 0);
  return p;
}

// ---- PNG -------------------------------------------------------------------

struct Source {
  const unsigned char* at;
  std::size_t left;
};

[[noreturn]] void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, std::size_t n) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (n > src->left) png_error(png, "short read");
  std::memcpy(out, src->at, n);
  src->at += n;
  src->left -= n;
}

struct PngReader {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// Every colour type comes out as 8-bit RGBA: palettes and low bit depths
// expanded, a transparent colour (tRNS) made transparent, greys spread to RGB.
bool ReadPng(PngReader& r, Source& src, PictureData& out, std::vector<unsigned char>& rgba,
             std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_user_limits(r.png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(r.png, 8 * 1024 * 1024);
  png_set_read_fn(r.png, &src, PngRead);
  png_read_info(r.png, r.info);
  const png_uint_32 w = png_get_image_width(r.png, r.info), h = png_get_image_height(r.png, r.info);
  if (!AcceptablePictureSize(w, h)) return false;
  png_set_expand(r.png);
  png_set_strip_16(r.png);
  png_set_gray_to_rgb(r.png);
  png_set_add_alpha(r.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  if (png_get_rowbytes(r.png, r.info) != w * 4) return false;
  rgba.resize(static_cast<std::size_t>(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = rgba.data() + static_cast<std::size_t>(y) * w * 4;
  png_read_image(r.png, rows.data());
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  return true;
}

std::optional<PictureData> DecodePng(Bytes b) {
  PngReader reader;
  if (!reader.info) return std::nullopt;
  Source src{b.data(), b.size()};
  PictureData out;
  std::vector<unsigned char> rgba;
  std::vector<png_bytep> rows;
  if (!ReadPng(reader, src, out, rgba, rows)) return std::nullopt;
  out.argb.resize(rgba.size() / 4);
  for (std::size_t i = 0; i < out.argb.size(); ++i)
    out.argb[i] = Argb(rgba[4 * i + 3], rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]);
  return out;
}

// ---- GIF -------------------------------------------------------------------

int GifRead(GifFileType* gif, GifByteType* out, int n) {
  auto* src = static_cast<Source*>(gif->UserData);
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), src->left);
  std::memcpy(out, src->at, take);
  src->at += take;
  src->left -= take;
  return static_cast<int>(take);
}

struct GifCloser {
  void operator()(GifFileType* g) const { DGifCloseFile(g, nullptr); }
};

// Draws the image whose descriptor giflib has just read onto the screen.
bool DrawGifImage(GifFileType* gif, int transparent, PictureData& screen) {
  const GifImageDesc& d = gif->Image;
  const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
  if (!map || d.Width < 0 || d.Height < 0 || d.Width > kMaxPictureSide || d.Height > kMaxPictureSide) return false;
  std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
  static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  const int passes = d.Interlace ? 4 : 1;
  const int rows = d.Width > 0 ? d.Height : 0;  // an empty image draws nothing
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = d.Interlace ? kStart[pass] : 0; y < rows; y += d.Interlace ? kStep[pass] : 1) {
      if (DGifGetLine(gif, line.data(), d.Width) != GIF_OK) return false;
      const long long sy = static_cast<long long>(d.Top) + y;
      if (sy >= screen.height) continue;
      for (int x = 0; x < d.Width && static_cast<long long>(d.Left) + x < screen.width; ++x) {
        const int index = line[x];
        if (index == transparent) continue;
        const GifColorType c = index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
        screen.argb[static_cast<std::size_t>(sy * screen.width + d.Left + x)] = Argb(255, c.Red, c.Green, c.Blue);
      }
    }
  }
  return true;
}

// The first image, on the logical screen; the rest of the screen, and the
// image's transparent colour, are transparent.
std::optional<PictureData> DecodeGif(Bytes b) {
  Source src{b.data(), b.size()};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&src, GifRead, &error));
  if (!gif) return std::nullopt;
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK) return std::nullopt;
    if (type == IMAGE_DESC_RECORD_TYPE) break;
    if (type != EXTENSION_RECORD_TYPE) return std::nullopt;
    int code = 0;
    GifByteType* ext = nullptr;
    if (DGifGetExtension(gif.get(), &code, &ext) != GIF_OK) return std::nullopt;
    if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
      GraphicsControlBlock gcb;
      DGifExtensionToGCB(ext[0], ext + 1, &gcb);
      transparent = gcb.TransparentColor;
    }
    while (ext)
      if (DGifGetExtensionNext(gif.get(), &ext) != GIF_OK) return std::nullopt;
  }
  if (DGifGetImageDesc(gif.get()) != GIF_OK) return std::nullopt;
  const GifImageDesc& d = gif->Image;
  auto screen = Blank(gif->SWidth ? gif->SWidth : static_cast<long long>(d.Left) + d.Width,
                      gif->SHeight ? gif->SHeight : static_cast<long long>(d.Top) + d.Height);
  if (!screen || !DrawGifImage(gif.get(), transparent, *screen)) return std::nullopt;
  return screen;
}

// ---- Bitmaps (BMP files and icon entries) --------------------------------

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
  const std::uint32_t header = Le32(b, 0);
  if (header > b.size()) return false;
  std::size_t entry_bytes = 4;
  std::size_t colours = 0;
  if (header == 12) {  // the old core header
    d.width = Le16(b, 4);
    d.height = Le16(b, 6);
    d.bpp = Le16(b, 10);
    entry_bytes = 3;
    colours = d.bpp <= 8 ? 1u << d.bpp : 0;
  } else {
    if (header < 40) return false;
    d.width = static_cast<std::int32_t>(Le32(b, 4));
    const auto h = static_cast<std::int32_t>(Le32(b, 8));
    d.top_down = h < 0;
    d.height = std::llabs(static_cast<long long>(h));
    d.bpp = Le16(b, 14);
    d.compression = Le32(b, 16);
    const std::uint32_t used = Le32(b, 32);
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
    d.r = Channel(Le32(b, masks_at));
    d.g = Channel(Le32(b, masks_at + 4));
    d.b = Channel(Le32(b, masks_at + 8));
    if (masks == 4 || header >= 56) d.a = Channel(Le32(b, masks_at + 12));
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

// Uncompressed rows, bottom-up unless the header says otherwise. Rows missing
// at the end of a short file stay transparent.
void ReadRows(Bytes b, std::size_t at, const Dib& d, PictureData& out) {
  const std::size_t stride = ((static_cast<std::size_t>(d.width) * d.bpp + 31) / 32) * 4;
  for (long long row = 0; row < d.height; ++row) {
    if (at > b.size() || b.size() - at < stride * (row + 1)) break;
    const unsigned char* p = b.data() + at + stride * row;
    const long long y = d.top_down ? row : d.height - 1 - row;
    std::uint32_t* line = &out.argb[static_cast<std::size_t>(y * d.width)];
    for (long long x = 0; x < d.width; ++x) {
      switch (d.bpp) {
        case 32:
        case 16: {
          const std::uint32_t px = d.bpp == 32 ? Le32(b, at + stride * row + 4 * x) : Le16(b, at + stride * row + 2 * x);
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
}

// Run-length encoded rows (8 or 4 bits); pixels the runs skip stay transparent.
void ReadRle(Bytes b, std::size_t at, const Dib& d, PictureData& out) {
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
      break;
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
}

// A BMP file: the file header, then the bitmap.
std::optional<PictureData> DecodeBmp(Bytes b) {
  if (b.size() < 26) return std::nullopt;
  Dib d;
  std::size_t palette_end = 0;
  if (!ReadDibHeader(b.subspan(14), d, palette_end)) return std::nullopt;
  const std::uint32_t offset = Le32(b, 10);
  const std::size_t pixels_at = offset >= 14 + palette_end && offset < b.size() ? offset : 14 + palette_end;
  auto out = Blank(d.width, d.height);
  const bool rle = d.compression == kRle8 || d.compression == kRle4;
  if (!rle) std::fill(out->argb.begin(), out->argb.end(), Argb(255, 0, 0, 0));
  if (rle) ReadRle(b, pixels_at, d, *out);
  else ReadRows(b, pixels_at, d, *out);
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
  if (b.size() < 40 || Le32(b, 16) != kRgb) return std::nullopt;
  const long long stacked = static_cast<std::int32_t>(Le32(b, 8));
  if (stacked <= 1 || !ReadDibHeader(b, d, palette_end)) return std::nullopt;
  d.height = stacked / 2;
  d.top_down = false;
  if (d.width > 256 || d.height > 256) return std::nullopt;
  if (d.bpp == 32) d.a = Channel(0xFF000000u);
  auto out = Blank(d.width, d.height);
  ReadRows(b, palette_end, d, *out);
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

// ---- Icons -----------------------------------------------------------------

// The entry shown is the one nearest the platform's 32 x 32 icon size, and of
// those the one with the most colours.
std::optional<PictureData> DecodeIco(Bytes b) {
  const unsigned count = Le16(b, 4);
  int best = -1;
  long long best_distance = 0, best_bits = 0;
  for (unsigned k = 0; k < count; ++k) {
    const std::size_t e = 6 + 16 * k;
    const long long w = b[e] ? b[e] : 256, h = b[e + 1] ? b[e + 1] : 256;
    const long long distance = std::llabs(w - 32) + std::llabs(h - 32);
    const long long bits = Le16(b, e + 6);
    if (best < 0 || distance < best_distance || (distance == best_distance && bits > best_bits)) {
      best = static_cast<int>(k);
      best_distance = distance;
      best_bits = bits;
    }
  }
  const std::size_t e = 6 + 16 * static_cast<std::size_t>(best);
  const Bytes image = b.subspan(Le32(b, e + 12), Le32(b, e + 8));
  if (SniffPictureFormat(image) == PictureFormat::kPng) return DecodePng(image);
  return DecodeIconBitmap(image);
}

// ---- JPEG ------------------------------------------------------------------

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }
void JpegMessage(j_common_ptr) {}

struct JpegReader {
  jpeg_decompress_struct info{};
  JpegError error{};
  ~JpegReader() { jpeg_destroy_decompress(&info); }
};

// Greys and colours come out as RGB; anything libjpeg cannot turn into RGB
// (CMYK) is refused.
bool ReadJpeg(JpegReader& r, PictureData& out, std::vector<unsigned char>& rgb) {
  if (setjmp(r.error.jump)) return false;
  jpeg_read_header(&r.info, TRUE);
  if (!AcceptablePictureSize(r.info.image_width, r.info.image_height)) return false;
  r.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&r.info);
  if (r.info.output_components != 3) return false;
  const std::size_t stride = static_cast<std::size_t>(r.info.output_width) * 3;
  rgb.resize(stride * r.info.output_height);
  while (r.info.output_scanline < r.info.output_height) {
    JSAMPROW row = rgb.data() + stride * r.info.output_scanline;
    jpeg_read_scanlines(&r.info, &row, 1);
  }
  jpeg_finish_decompress(&r.info);
  out.width = static_cast<int>(r.info.output_width);
  out.height = static_cast<int>(r.info.output_height);
  return true;
}

std::optional<PictureData> DecodeJpeg(Bytes b) {
  JpegReader reader;
  reader.info.err = jpeg_std_error(&reader.error.manager);
  reader.error.manager.error_exit = JpegFail;
  reader.error.manager.output_message = JpegMessage;
  jpeg_create_decompress(&reader.info);
  jpeg_mem_src(&reader.info, b.data(), static_cast<unsigned long>(b.size()));
  PictureData out;
  std::vector<unsigned char> rgb;
  if (!ReadJpeg(reader, out, rgb)) return std::nullopt;
  out.argb.resize(rgb.size() / 3);
  for (std::size_t i = 0; i < out.argb.size(); ++i) out.argb[i] = Argb(255, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return out;
}

}  // namespace

std::optional<PictureData> DecodePictureBytes(Bytes bytes) {
  if (!PassesPictureChecks(bytes)) return std::nullopt;
  switch (SniffPictureFormat(bytes)) {
    case PictureFormat::kPng: return DecodePng(bytes);
    case PictureFormat::kGif: return DecodeGif(bytes);
    case PictureFormat::kIco: return DecodeIco(bytes);
    case PictureFormat::kBmp: return DecodeBmp(bytes);
    case PictureFormat::kJpeg: return DecodeJpeg(bytes);
    case PictureFormat::kUnknown: break;
  }
  return std::nullopt;
}

}  // namespace tk
