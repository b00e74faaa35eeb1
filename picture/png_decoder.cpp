#include "picture/png_decoder.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "picture/picture_format.h"
#include "picture/pixels.h"

namespace pic {
namespace {

using Bytes = std::span<const unsigned char>;

[[noreturn]] void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

// Reads from the bytes not yet read; a read past their end is an error (a
// chunk that claims more than the file holds).
void PngRead(png_structp png, png_bytep out, std::size_t n) {
  auto* left = static_cast<Bytes*>(png_get_io_ptr(png));
  if (n > left->size()) png_error(png, "short read");
  std::memcpy(out, left->data(), n);
  *left = left->subspan(n);
}

struct PngReader {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// Every colour type comes out as 8-bit RGBA: palettes and low bit depths
// expanded, a transparent colour (tRNS) made transparent, greys spread to RGB.
bool ReadPng(PngReader& r, Bytes& left, PictureData& out, std::vector<unsigned char>& rgba,
             std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_user_limits(r.png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(r.png, 8 * 1024 * 1024);
  png_set_read_fn(r.png, &left, PngRead);
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

}  // namespace

std::optional<PictureData> DecodePng(Bytes b) {
  PngReader reader;
  if (!reader.info) return std::nullopt;
  Bytes left = b;
  PictureData out;
  std::vector<unsigned char> rgba;
  std::vector<png_bytep> rows;
  if (!ReadPng(reader, left, out, rgba, rows)) return std::nullopt;
  out.argb.resize(rgba.size() / 4);
  for (std::size_t i = 0; i < out.argb.size(); ++i)
    out.argb[i] = Argb(rgba[4 * i + 3], rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]);
  return out;
}

}  // namespace pic
