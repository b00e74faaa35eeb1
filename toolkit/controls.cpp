#include "toolkit/controls.h"

#include "runtime/trace.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"
#include "toolkit/twips.h"

namespace tk {

void Control::Use() const {
  if (form_) form_->Load();
}

void Control::Changed() {
  if (form_) form_->Invalidate();
}

void Control::TraceText(std::string_view prop, std::string_view value) const {
  trace::SetText(form_ ? form_->name() : "", name_, prop, value);
}

void Control::TraceNumber(std::string_view prop, double value) const {
  trace::SetNumber(form_ ? form_->name() : "", name_, prop, value);
}

void Control::SetVisible(bool value) {
  Use();
  trace::SetBool(form_ ? form_->name() : "", name_, "Visible", value);
  visible = value;
  Changed();
}

void Label::SetCaption(std::string_view text) {
  Use();
  TraceText("Caption", text);
  caption = std::string(text);
  Changed();
}

void Image::SetPicture(Picture value, std::string_view source) {
  Use();
  TraceText("Picture", source);
  picture = std::move(value);
  FitToPicture();
  Changed();
}

void Image::FitToPicture() {
  if (!picture) return;
  width = PixelsToTwips(picture->width + 2 * BorderPixels());
  height = PixelsToTwips(picture->height + 2 * BorderPixels());
}

void Image::SetLeft(double twips) {
  Use();
  TraceNumber("Left", twips);
  left = twips;
  Changed();
}

void Image::SetTop(double twips) {
  Use();
  TraceNumber("Top", twips);
  top = twips;
  Changed();
}

void Timer::SetInterval(int ms) {
  Use();
  TraceNumber("Interval", ms);
  interval = ms;
  Restart();
}

void Timer::SetEnabled(bool value) {
  Use();
  trace::SetBool(form().name(), name(), "Enabled", value);
  const bool was = enabled;
  enabled = value;
  if (value && !was) Restart();
}

bool Timer::Running() const { return enabled && interval > 0 && form().loaded(); }

void Timer::Restart() { due = Toolkit::Get().clock().NowMs() + interval; }

}  // namespace tk
