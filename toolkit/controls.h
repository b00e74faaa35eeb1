#pragma once
// The controls of a form: plain models that the system's code sets properties
// on and the renderer reads. Every property set through a Set* method marks
// the form for painting and goes into the trace; the design values are set
// directly by the form when it loads.
#include <cstdint>
#include <string>
#include <string_view>

#include "picture/picture.h"
#include "runtime/integer.h"

namespace tk {

class Form;

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kButtonFace{212, 208, 200};
inline constexpr Rgb kButtonText{0, 0, 0};
inline constexpr Rgb kWindowText{0, 0, 0};

// A fixed single border is a sunken edge this many pixels wide on each side.
inline constexpr int kBorderPixels = 2;

struct FontSpec {
  std::string face = "MS Sans Serif";
  double points = 8.25;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  int charset = 0;  // 0 Western, 128 Shift-JIS
  bool operator==(const FontSpec&) const = default;
};

class Control {
 public:
  enum class Kind { kLabel, kImage, kShape, kLine, kTimer };
  explicit Control(Kind kind) : kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Form& form() const { return *form_; }

  bool visible = true;
  void SetVisible(bool value);

 protected:
  // Every use of a control loads its form first, as on the original platform.
  void Use() const;
  void Changed();
  void TraceText(std::string_view prop, std::string_view value) const;
  void TraceNumber(std::string_view prop, double value) const;

 private:
  friend class Form;
  Kind kind_;
  std::string name_;
  Form* form_ = nullptr;
};

class Label : public Control {
 public:
  Label() : Control(Kind::kLabel) {}
  double left = 0, top = 0, width = 0, height = 0;  // twips
  std::string caption;                              // UTF-8
  FontSpec font;
  Rgb fore = kButtonText;
  Rgb back = kButtonFace;
  bool opaque = true;
  bool centred = false;
  bool border = false;  // fixed single

  const std::string& Caption() const {
    Use();
    return caption;
  }
  void SetCaption(std::string_view text);
};

class Image : public Control {
 public:
  Image() : Control(Kind::kImage) {}
  double left = 0, top = 0, width = 0, height = 0;  // twips; the size follows the picture
  Picture picture;
  bool border = false;  // fixed single

  const Picture& GetPicture() const {
    Use();
    return picture;
  }
  // `source` names where the picture came from, for the trace: the file name as
  // given, "" for the empty picture, or the control it was copied from.
  void SetPicture(Picture value, std::string_view source);
  void SetLeft(double twips);
  void SetTop(double twips);
  // Width of the border on each side, in pixels.
  int BorderPixels() const { return border ? kBorderPixels : 0; }

 private:
  void FitToPicture();
};

class Shape : public Control {
 public:
  enum class Fill { kTransparent, kDiagonalCross };
  Shape() : Control(Kind::kShape) {}
  double left = 0, top = 0, width = 0, height = 0;
  Rgb border_color = kWindowText;
  int border_width = 1;
  Fill fill = Fill::kTransparent;
  Rgb fill_color{};
};

class Line : public Control {
 public:
  Line() : Control(Kind::kLine) {}
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
  Rgb color = kWindowText;
  int width = 1;           // pixels
  bool merge_pen = false;  // colour ORed with what lies below
};

class Timer : public Control {
 public:
  Timer() : Control(Kind::kTimer) {}
  int interval = 0;  // milliseconds; 0 stops the timer
  bool enabled = true;

  void SetInterval(int ms);
  void SetEnabled(bool value);

  // Kept by the toolkit: when the next tick is due (toolkit clock, ms).
  std::int64_t due = 0;
  bool Running() const;
  void Restart();
};

}  // namespace tk
