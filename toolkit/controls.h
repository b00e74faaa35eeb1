#pragma once
// The controls of a form: plain models that the system's code sets properties
// on and the renderer reads.
#include <cstdint>
#include <string>
#include <string_view>

#include "picture/picture.h"
#include "runtime/integer.h"
#include "toolkit/control_owner.h"

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

// A control's rectangle on its form, in twips.
struct Box {
  double left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Box&) const = default;
};

// Every property has one way in at run time, its Set* method, which traces the
// change and marks the form for painting. The form gives each control its design
// values, untraced, through Design() as it loads. The lower-case readers are the
// painter's: they read without loading the form.
class Control {
 public:
  enum class Kind { kLabel, kImage, kShape, kLine, kTimer };
  explicit Control(Kind kind) : kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  ControlOwner& form() const { return *form_; }

  bool visible() const { return visible_; }
  void SetVisible(bool value);
  // Whether a click at (x, y), in the form's pixels, lands on this control.
  // Only labels and images take the mouse.
  virtual bool Hit(int /*x*/, int /*y*/) const { return false; }

 protected:
  // Every use of a control loads its form first, as on the original platform.
  void Use() const;
  void Changed();
  void TraceText(std::string_view prop, std::string_view value) const;
  void TraceNumber(std::string_view prop, double value) const;
  bool visible_ = true;

 private:
  friend class Form;
  Kind kind_;
  std::string name_;
  ControlOwner* form_ = nullptr;
};

// A control with a rectangle of its own: labels, images and shapes.
class BoxControl : public Control {
 public:
  using Control::Control;
  const Box& box() const { return box_; }

 protected:
  bool InBox(int x, int y) const;
  Box box_;
};

class Label : public BoxControl {
 public:
  struct Properties {
    std::string caption;  // UTF-8
    FontSpec font;
    Rgb fore = kButtonText;
    Rgb back = kButtonFace;
    bool opaque = true;
    bool centred = false;
    bool border = false;  // fixed single
  };
  Label() : BoxControl(Kind::kLabel) {}
  void Design(bool visible, Box box, Properties properties);
  const Properties& properties() const { return p_; }
  bool Hit(int x, int y) const override { return InBox(x, y); }

  const std::string& Caption() const {
    Use();
    return p_.caption;
  }
  void SetCaption(std::string_view text);

 private:
  Properties p_;
};

class Image : public BoxControl {
 public:
  Image() : BoxControl(Kind::kImage) {}
  // The box's size follows the picture, if there is one.
  void Design(bool visible, Box box, pic::Picture picture, bool border = false);
  const pic::Picture& picture() const { return picture_; }
  bool border() const { return border_; }  // fixed single
  bool Hit(int x, int y) const override { return InBox(x, y); }

  const pic::Picture& GetPicture() const {
    Use();
    return picture_;
  }
  // `source` names where the picture came from, for the trace: the file name as
  // given, "" for the empty picture, or the control it was copied from.
  void SetPicture(pic::Picture value, std::string_view source);
  void SetLeft(double twips);
  void SetTop(double twips);
  // Width of the border on each side, in pixels.
  int BorderPixels() const { return border_ ? kBorderPixels : 0; }

 private:
  void FitToPicture();
  pic::Picture picture_;
  bool border_ = false;
};

class Shape : public BoxControl {
 public:
  enum class Fill { kTransparent, kDiagonalCross };
  struct Properties {
    Rgb border_color = kWindowText;
    int border_width = 1;
    Fill fill = Fill::kTransparent;
    Rgb fill_color{};
  };
  Shape() : BoxControl(Kind::kShape) {}
  void Design(bool visible, Box box, Properties properties);
  const Properties& properties() const { return p_; }

 private:
  Properties p_;
};

class Line : public Control {
 public:
  struct Properties {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
    Rgb color = kWindowText;
    int width = 1;           // pixels
    bool merge_pen = false;  // colour ORed with what lies below
  };
  Line() : Control(Kind::kLine) {}
  void Design(bool visible, Properties properties);
  const Properties& properties() const { return p_; }

 private:
  Properties p_;
};

class Timer : public Control {
 public:
  Timer() : Control(Kind::kTimer) {}
  // interval in milliseconds; 0 stops the timer.
  void Design(int interval, bool enabled);
  int interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  void SetInterval(int ms);
  void SetEnabled(bool value);

  // Kept by the toolkit: when the next tick is due (toolkit clock, ms).
  std::int64_t due = 0;
  bool Running() const;
  void Restart();

 private:
  int interval_ = 0;
  bool enabled_ = true;
};

}  // namespace tk
