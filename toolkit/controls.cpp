#include "toolkit/controls.h"

#include <utility>

#include "runtime/trace.h"
#include "toolkit/twips.h"

namespace tk {

void Control::Use() const {
  if (form_) form_->Load();
}

void Control::Changed() {
  if (form_) form_->Invalidate();
}

void Control::TraceText(std::string_view prop, std::string_view value) const {
  rt::trace::SetText(form_ ? form_->name() : "", name_, prop, value);
}

void Control::TraceNumber(std::string_view prop, double value) const {
  rt::trace::SetNumber(form_ ? form_->name() : "", name_, prop, value);
}

void Control::SetVisible(bool value) {
  Use();
  rt::trace::SetBool(form_ ? form_->name() : "", name_, "Visible", value);
  visible_ = value;
  Changed();
}

bool BoxControl::InBox(int x, int y) const {
  const int l = TwipsToPixels(box_.left), t = TwipsToPixels(box_.top);
  return x >= l && y >= t && x < l + TwipsToPixels(box_.width) && y < t + TwipsToPixels(box_.height);
}

void Label::Design(bool visible, Box box, Properties properties) {
  visible_ = visible;
  box_ = box;
  p_ = std::move(properties);
}

void Label::SetCaption(std::string_view text) {
  Use();
  TraceText("Caption", text);
  p_.caption = std::string(text);
  Changed();
}

void Image::Design(bool visible, Box box, pic::Picture picture, bool border) {
  visible_ = visible;
  box_ = box;
  border_ = border;
  picture_ = std::move(picture);
  FitToPicture();
}

void Image::SetPicture(pic::Picture value, std::string_view source) {
  Use();
  TraceText("Picture", source);
  picture_ = std::move(value);
  FitToPicture();
  Changed();
}

void Image::FitToPicture() {
  if (!picture_) return;
  box_.width = PixelsToTwips(picture_->width + 2 * BorderPixels());
  box_.height = PixelsToTwips(picture_->height + 2 * BorderPixels());
}

void Image::SetLeft(double twips) {
  Use();
  TraceNumber("Left", twips);
  box_.left = twips;
  Changed();
}

void Image::SetTop(double twips) {
  Use();
  TraceNumber("Top", twips);
  box_.top = twips;
  Changed();
}

void Shape::Design(bool visible, Box box, Properties properties) {
  visible_ = visible;
  box_ = box;
  p_ = properties;
}

void Line::Design(bool visible, Properties properties) {
  visible_ = visible;
  p_ = properties;
}

void Timer::Design(int interval, bool enabled) {
  interval_ = interval;
  enabled_ = enabled;
}

void Timer::SetInterval(int ms) {
  Use();
  TraceNumber("Interval", ms);
  interval_ = ms;
  Restart();
}

void Timer::SetEnabled(bool value) {
  Use();
  rt::trace::SetBool(form().name(), name(), "Enabled", value);
  const bool was = enabled_;
  enabled_ = value;
  if (value && !was) Restart();
}

bool Timer::Running() const { return enabled_ && interval_ > 0 && form().loaded(); }

void Timer::Restart() { due = form().NowMs() + interval_; }

}  // namespace tk
