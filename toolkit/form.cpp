#include "toolkit/form.h"

#include <optional>

#include "runtime/trace.h"
#include "toolkit/form_host.h"
#include "toolkit/twips.h"

namespace tk {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
  if (loaded_) FormHost::Get().Unregister(*this);
  // A form still holding its window here is being destroyed after main, on
  // the way out of an exit() (as when the display goes away): the window
  // system may be gone, so the window is left to the end of the process.
  (void)host_.release();
}

void Form::Add(Control& control, std::string name) {
  control.name_ = std::move(name);
  control.form_ = this;
  controls_.push_back(&control);
}

std::int64_t Form::NowMs() const { return FormHost::Get().NowMs(); }

void Form::Load() {
  if (loaded_) return;
  LoadDesign();
  loaded_ = true;
  dirty_ = true;
  FormHost::Get().Register(*this);
  for (Control* c : controls_)
    if (c->kind() == Control::Kind::kTimer) static_cast<Timer*>(c)->Restart();
}

void Form::Show() {
  Load();
  if (!host_) {
    WindowSpec design;
    design.title = caption;
    design.client_width = TwipsToPixels(client_width);
    design.client_height = TwipsToPixels(client_height);
    design.borderless = borderless;
    design.icon = icon;
    host_ = FormHost::Get().CreateHostWindow(design);
  }
  if (!shown_) {
    shown_ = true;
    dirty_ = true;
    rt::trace::Show(name_);
    host_->Show();
  }
  FormHost::Get().Activate(*this);
}

bool Form::Visible() {
  Load();
  return shown_;
}

void Form::SetLeft(double twips) {
  rt::trace::SetNumber(name_, "", "Left", twips);
  MoveWindow(twips, std::nullopt);
}

void Form::SetTop(double twips) {
  rt::trace::SetNumber(name_, "", "Top", twips);
  MoveWindow(std::nullopt, twips);
}

void Form::MoveWindow(std::optional<double> left, std::optional<double> top) {
  Load();
  if (!host_) return;
  int x = 0, y = 0;
  host_->Position(x, y);
  host_->Move(left ? TwipsToPixels(*left) : x, top ? TwipsToPixels(*top) : y);
}

double Form::Width() { return OuterSize().first; }
double Form::Height() { return OuterSize().second; }

std::pair<double, double> Form::OuterSize() {
  Load();
  if (!host_) return {client_width, client_height};
  int w = 0, h = 0;
  host_->OuterSize(w, h);
  return {PixelsToTwips(w), PixelsToTwips(h)};
}

void Form::RequestClose(rt::Integer unload_mode) {
  rt::Integer cancel = 0;
  Form_QueryUnload(cancel, unload_mode);
  if (cancel == 0) CloseWindow();
}

void Form::Unload() {
  if (!loaded_) Load();
  RequestClose(tk::vbFormCode);
}

void Form::ForceClose() {
  if (loaded_) FormHost::Get().Unregister(*this);
  loaded_ = false;
  shown_ = false;
  host_.reset();
}

void Form::CloseWindow() {
  if (!loaded_) return;
  rt::trace::Unload(name_);
  loaded_ = false;
  shown_ = false;
  host_.reset();
  FormHost::Get().Unregister(*this);
}

}  // namespace tk
