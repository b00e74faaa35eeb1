#include "picture/jpeg_decoder.h"

// libjpeg needs FILE and size_t declared before its header.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <vector>

#include "picture/picture_format.h"
#include "picture/pixels.h"

namespace pic {
namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }
void JpegMessage(j_common_ptr) {}
// A file cut short is refused, as a PNG or GIF cut short is; libjpeg would
// show it in part. Other warnings (stray bytes) are shown as libjpeg mends them.
void JpegWarning(j_common_ptr info, int level) {
  if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) JpegFail(info);
}

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

}  // namespace

std::optional<PictureData> DecodeJpeg(std::span<const unsigned char> b) {
  JpegReader reader;
  reader.info.err = jpeg_std_error(&reader.error.manager);
  reader.error.manager.error_exit = JpegFail;
  reader.error.manager.output_message = JpegMessage;
  reader.error.manager.emit_message = JpegWarning;
  jpeg_create_decompress(&reader.info);
  jpeg_mem_src(&reader.info, b.data(), static_cast<unsigned long>(b.size()));
  PictureData out;
  std::vector<unsigned char> rgb;
  if (!ReadJpeg(reader, out, rgb)) return std::nullopt;
  out.argb.resize(rgb.size() / 3);
  for (std::size_t i = 0; i < out.argb.size(); ++i) out.argb[i] = Argb(255, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return out;
}

}  // namespace pic
