#include "picture/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "picture/picture_format.h"
#include "picture/pixels.h"

namespace pic {
namespace {

using Bytes = std::span<const unsigned char>;

// Reads from the bytes not yet read, as many as are left.
int GifRead(GifFileType* gif, GifByteType* out, int n) {
  auto* left = static_cast<Bytes*>(gif->UserData);
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), left->size());
  std::memcpy(out, left->data(), take);
  *left = left->subspan(take);
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

}  // namespace

// The first image, on the logical screen; the rest of the screen, and the
// image's transparent colour, are transparent.
std::optional<PictureData> DecodeGif(Bytes b) {
  Bytes left = b;
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&left, GifRead, &error));
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
  auto screen = BlankPicture(gif->SWidth ? gif->SWidth : static_cast<long long>(d.Left) + d.Width,
                             gif->SHeight ? gif->SHeight : static_cast<long long>(d.Top) + d.Height);
  if (!screen || !DrawGifImage(gif.get(), transparent, *screen)) return std::nullopt;
  return screen;
}

}  // namespace pic
