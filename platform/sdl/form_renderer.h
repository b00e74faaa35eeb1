#pragma once
// Paints a form's controls, back to front, into a 32-bit surface the size of
// its client area. Reads the model only.
#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sdl/sdl_ptrs.h"
#include "toolkit/controls.h"

namespace tk {
class Form;
}  // namespace tk

namespace sdl {


class FormRenderer {
 public:
  // Paints at a whole factor of the design's pixels (1 and up): every position,
  // size and line n times larger, text from the font at n times its size.
  explicit FormRenderer(int scale = 1);
  int scale() const { return scale_; }
  ~FormRenderer();
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  // Paints the form into a 32-bit surface, at least the client area's size.
  void RenderInto(const tk::Form& form, SDL_Surface* target);

  // The font for a label's font description (null when none can be had).
  TTF_Font* Font(const tk::FontSpec& wanted);
  // Width in pixels of UTF-32 text in a font.
  static int TextWidth(TTF_Font* font, std::u32string_view text);
  // Whether every row of the label's caption, as it is laid out when drawn,
  // lies within the label (true when there is no font to measure with).
  bool CaptionFits(const tk::Label& label);

 private:
  void DrawLabel(SDL_Surface* target, const tk::Label& label);
  void DrawImage(SDL_Surface* target, const tk::Image& image);
  void DrawShape(SDL_Surface* target, const tk::Shape& shape);
  void DrawLine(SDL_Surface* target, const tk::Line& line);
  // The picture at the painting scale, enlarged once for as long as the
  // picture lives (the intro redraws its pictures twenty times a second).
  SDL_Surface* AtScale(const pic::Picture& picture);

  struct Enlargement {
    std::weak_ptr<const pic::PictureData> picture;
    SurfacePtr surface;
  };
  std::vector<Enlargement> enlarged_;  // only at a scale above 1
  std::vector<std::pair<tk::FontSpec, FontPtr>> fonts_;
  int scale_;
  bool ttf_ready_ = false;
};

}  // namespace sdl
