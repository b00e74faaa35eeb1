#include "platform/sdl/form_renderer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "runtime/notice.h"
#include "runtime/utf.h"
#include "toolkit/font_resolver.h"
#include "toolkit/form.h"
#include "toolkit/text_layout.h"
#include "toolkit/twips.h"

namespace sdl {
namespace {

Uint32 Map(SDL_Surface* s, tk::Rgb c) { return SDL_MapRGB(s->format, c.r, c.g, c.b); }

// Coordinates are the design's pixels; at scale n each becomes n x n.
void Fill(SDL_Surface* s, int n, int x, int y, int w, int h, tk::Rgb c) {
  SDL_Rect r{x * n, y * n, w * n, h * n};
  SDL_FillRect(s, &r, Map(s, c));
}

// A fixed single border, drawn as a sunken edge kBorderPixels (two) wide.
void SunkenEdge(SDL_Surface* s, int n, int x, int y, int w, int h) {
  constexpr tk::Rgb shadow{128, 128, 128}, dark{64, 64, 64}, light = tk::kButtonFace, white{255, 255, 255};
  Fill(s, n, x, y, w, 1, shadow);
  Fill(s, n, x, y, 1, h, shadow);
  Fill(s, n, x, y + h - 1, w, 1, white);
  Fill(s, n, x + w - 1, y, 1, h, white);
  Fill(s, n, x + 1, y + 1, w - 2, 1, dark);
  Fill(s, n, x + 1, y + 1, 1, h - 2, dark);
  Fill(s, n, x + 1, y + h - 2, w - 2, 1, light);
  Fill(s, n, x + w - 2, y + 1, 1, h - 2, light);
}

// Plots one design pixel, copying the colour or ORing it into what lies below.
void Plot(SDL_Surface* s, int n, int x, int y, Uint32 colour, bool merge) {
  const SDL_Rect& clip = s->clip_rect;
  for (int py = y * n; py < (y + 1) * n; ++py)
    for (int px = x * n; px < (x + 1) * n; ++px) {
      if (px < clip.x || py < clip.y || px >= clip.x + clip.w || py >= clip.y + clip.h) continue;
      auto* p = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + py * s->pitch) + px;
      *p = merge ? (*p | colour) : colour;
    }
}

// A picture enlarged n times: pixel art stays sharp, a scene goes smooth.
SurfacePtr Enlarged(SDL_Surface* source, const pic::PictureData& p, int n) {
  SurfacePtr big(SDL_CreateRGBSurfaceWithFormat(0, p.width * n, p.height * n, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!big) return big;
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  if (p.pixel_art) SDL_BlitScaled(source, nullptr, big.get(), nullptr);
  else SDL_SoftStretchLinear(source, nullptr, big.get(), nullptr);
  return big;
}

}  // namespace

FormRenderer::FormRenderer(int scale) : scale_(std::max(1, scale)), ttf_ready_(TTF_Init() == 0) {}

FormRenderer::~FormRenderer() {
  fonts_.clear();
  if (ttf_ready_) TTF_Quit();
}

TTF_Font* FormRenderer::Font(const tk::FontSpec& wanted) {
  for (auto& [s, f] : fonts_)
    if (s == wanted) return f.get();
  FontPtr font;
  if (ttf_ready_) {
    const tk::ResolvedFont r = ResolveFont(wanted);
    // At scale n the text is drawn from the font at n times its size: sharp.
    if (!r.file.empty()) font.reset(TTF_OpenFontIndex(r.file.c_str(), r.pixel_size * scale_, r.index));
    if (font) {
      int style = TTF_STYLE_NORMAL;
      if (r.synthetic_bold) style |= TTF_STYLE_BOLD;
      if (r.synthetic_italic) style |= TTF_STYLE_ITALIC;
      if (wanted.underline) style |= TTF_STYLE_UNDERLINE;
      TTF_SetFontStyle(font.get(), style);
    } else {
      rt::Notice("no font found for \"%s\"; its text is not drawn", wanted.face.c_str());
    }
  }
  fonts_.emplace_back(wanted, std::move(font));
  return fonts_.back().second.get();
}

int FormRenderer::TextWidth(TTF_Font* font, std::u32string_view text) {
  int w = 0, h = 0;
  if (!font || text.empty() || TTF_SizeUTF8(font, rt::ToUtf8(text).c_str(), &w, &h) != 0) return 0;
  return w;
}

void FormRenderer::RenderInto(const tk::Form& form, SDL_Surface* target) {
  std::erase_if(enlarged_, [](const Enlargement& e) { return e.picture.expired(); });
  SDL_SetClipRect(target, nullptr);
  SDL_FillRect(target, nullptr, Map(target, form.back_color));
  const auto& controls = form.controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    const tk::Control& c = **it;
    if (!c.visible()) continue;
    switch (c.kind()) {
      case tk::Control::Kind::kLabel: DrawLabel(target, static_cast<const tk::Label&>(c)); break;
      case tk::Control::Kind::kImage: DrawImage(target, static_cast<const tk::Image&>(c)); break;
      case tk::Control::Kind::kShape: DrawShape(target, static_cast<const tk::Shape&>(c)); break;
      case tk::Control::Kind::kLine: DrawLine(target, static_cast<const tk::Line&>(c)); break;
      case tk::Control::Kind::kTimer: break;
    }
    SDL_SetClipRect(target, nullptr);
  }
}

bool FormRenderer::CaptionFits(const tk::Label& label) {
  const tk::Label::Properties& p = label.properties();
  const int border = p.border ? tk::kBorderPixels : 0;
  const int w = (tk::TwipsToPixels(label.box().width) - 2 * border) * scale_;
  const int h = (tk::TwipsToPixels(label.box().height) - 2 * border) * scale_;
  TTF_Font* font = Font(p.font);
  if (!font || p.caption.empty()) return true;
  const auto lines = tk::LayoutText(rt::ToUtf32(p.caption), w, [font](std::u32string_view t) { return TextWidth(font, t); });
  long rows = static_cast<long>(lines.size());
  while (rows > 0 && lines[rows - 1].text.empty()) --rows;  // blank rows at the end show nothing
  return rows * TTF_FontHeight(font) <= h;
}

void FormRenderer::DrawLabel(SDL_Surface* target, const tk::Label& label) {
  const tk::Label::Properties& p = label.properties();
  int x = tk::TwipsToPixels(label.box().left), y = tk::TwipsToPixels(label.box().top);
  int w = tk::TwipsToPixels(label.box().width), h = tk::TwipsToPixels(label.box().height);
  const int n = scale_;
  if (p.opaque) Fill(target, n, x, y, w, h, p.back);
  if (p.border) {
    SunkenEdge(target, n, x, y, w, h);
    x += tk::kBorderPixels, y += tk::kBorderPixels, w -= 2 * tk::kBorderPixels, h -= 2 * tk::kBorderPixels;
  }
  if (w <= 0 || h <= 0 || p.caption.empty()) return;
  x *= n, y *= n, w *= n, h *= n;  // from here on, in the canvas's own pixels
  TTF_Font* font = Font(p.font);
  if (!font) return;
  SDL_Rect inner{x, y, w, h};
  SDL_SetClipRect(target, &inner);
  const auto lines = tk::LayoutText(rt::ToUtf32(p.caption), w, [font](std::u32string_view t) { return TextWidth(font, t); });
  const int line_height = TTF_FontHeight(font);
  const SDL_Color colour{p.fore.r, p.fore.g, p.fore.b, 255};
  int top = y;
  for (const tk::TextLine& line : lines) {
    if (top >= y + h) break;
    const int width = TextWidth(font, line.text);
    const int left = p.centred ? x + (w - width) / 2 : x;
    if (!line.text.empty()) {
      SurfacePtr text(TTF_RenderUTF8_Blended(font, rt::ToUtf8(line.text).c_str(), colour));
      if (text) {
        SDL_Rect at{left, top, text->w, text->h};
        SDL_BlitSurface(text.get(), nullptr, target, &at);
      }
    }
    for (std::size_t i : line.underlined) {
      const int x0 = left + TextWidth(font, std::u32string_view(line.text).substr(0, i));
      const int x1 = left + TextWidth(font, std::u32string_view(line.text).substr(0, i + 1));
      SDL_Rect under{x0, top + TTF_FontAscent(font) + n, x1 - x0, n};
      SDL_FillRect(target, &under, Map(target, p.fore));
    }
    top += line_height;
  }
}

void FormRenderer::DrawImage(SDL_Surface* target, const tk::Image& image) {
  const tk::Box& box = image.box();
  const int x = tk::TwipsToPixels(box.left), y = tk::TwipsToPixels(box.top);
  const int b = image.BorderPixels(), n = scale_;
  if (image.border()) SunkenEdge(target, n, x, y, tk::TwipsToPixels(box.width), tk::TwipsToPixels(box.height));
  const pic::Picture& p = image.picture();
  if (!p || p->width <= 0 || p->height <= 0) return;
  SurfacePtr own = n > 1 ? nullptr : SurfaceOf(*p);
  SDL_Surface* source = n > 1 ? AtScale(p) : own.get();
  if (!source) return;
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
  SDL_Rect at{(x + b) * n, (y + b) * n, p->width * n, p->height * n};
  SDL_BlitSurface(source, nullptr, target, &at);
}

SDL_Surface* FormRenderer::AtScale(const pic::Picture& picture) {
  for (auto& e : enlarged_)
    if (e.picture.lock() == picture) return e.surface.get();
  SurfacePtr source = SurfaceOf(*picture);
  if (!source) return nullptr;
  SurfacePtr big = Enlarged(source.get(), *picture, scale_);
  if (!big) return nullptr;
  enlarged_.push_back({picture, std::move(big)});
  return enlarged_.back().surface.get();
}

void FormRenderer::DrawShape(SDL_Surface* target, const tk::Shape& shape) {
  const tk::Shape::Properties& p = shape.properties();
  const int x = tk::TwipsToPixels(shape.box().left), y = tk::TwipsToPixels(shape.box().top);
  const int w = tk::TwipsToPixels(shape.box().width), h = tk::TwipsToPixels(shape.box().height);
  if (w <= 0 || h <= 0) return;
  if (p.fill == tk::Shape::Fill::kDiagonalCross) {
    // The hatch keeps to the window's origin; between its lines the back shows.
    const Uint32 colour = Map(target, p.fill_color);
    for (int py = y; py < y + h; ++py)
      for (int px = x; px < x + w; ++px)
        if (((px + py) & 7) == 0 || ((px - py) & 7) == 0) Plot(target, scale_, px, py, colour, false);
  }
  const int bw = std::max(1, p.border_width);
  Fill(target, scale_, x, y, w, bw, p.border_color);
  Fill(target, scale_, x, y + h - bw, w, bw, p.border_color);
  Fill(target, scale_, x, y, bw, h, p.border_color);
  Fill(target, scale_, x + w - bw, y, bw, h, p.border_color);
}

void FormRenderer::DrawLine(SDL_Surface* target, const tk::Line& line) {
  const tk::Line::Properties& p = line.properties();
  int x0 = tk::TwipsToPixels(p.x1), y0 = tk::TwipsToPixels(p.y1);
  const int x1 = tk::TwipsToPixels(p.x2), y1 = tk::TwipsToPixels(p.y2);
  const Uint32 colour = Map(target, p.color);
  const int pen = std::max(1, p.width);
  const int lo = -(pen - 1) / 2, hi = pen / 2;
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    for (int oy = lo; oy <= hi; ++oy)
      for (int ox = lo; ox <= hi; ++ox) Plot(target, scale_, x0 + ox, y0 + oy, colour, p.merge_pen);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

}  // namespace sdl
