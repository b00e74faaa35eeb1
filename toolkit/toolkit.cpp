#include "toolkit/toolkit.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "runtime/notice.h"
#include "runtime/trace.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/twips.h"

namespace tk {

Toolkit& Toolkit::Get() {
  static Toolkit toolkit;
  return toolkit;
}

FormHost& FormHost::Get() { return Toolkit::Get(); }

Toolkit::Toolkit() = default;
Toolkit::~Toolkit() = default;

void Toolkit::Install(Platform& platform, const rt::Clock& clock) {
  platform_ = &platform;
  clock_ = &clock;
}

void Toolkit::Shutdown() {
  // Closing a window here runs no handler: copy, since closing unregisters.
  const auto forms = loaded_;
  for (Form* f : forms) f->ForceClose();
  loaded_.clear();
  active_ = nullptr;
  pressed_form_ = nullptr;
  pressed_control_ = nullptr;
}

void Toolkit::Register(Form& form) {
  if (std::find(loaded_.begin(), loaded_.end(), &form) == loaded_.end()) loaded_.push_back(&form);
}

void Toolkit::Unregister(Form& form) {
  loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &form), loaded_.end());
  if (active_ == &form) active_ = nullptr;
  if (pressed_form_ == &form) {
    pressed_form_ = nullptr;
    pressed_control_ = nullptr;
  }
}

void Toolkit::Activate(Form& form) {
  if (active_ == &form) return;
  active_ = &form;
  form.Form_Activate();
}

double Toolkit::ScreenWidth() const {
  int w = 0, h = 0;
  platform_->ScreenSize(w, h);
  return PixelsToTwips(w);
}

double Toolkit::ScreenHeight() const {
  int w = 0, h = 0;
  platform_->ScreenSize(w, h);
  return PixelsToTwips(h);
}

Form* Toolkit::FindForm(std::uint32_t window) const {
  for (Form* f : loaded_)
    if (f->host() && f->host()->id() == window) return f;
  return nullptr;
}

void Toolkit::DoEvents() {
  PaintDirty();
  Event event;
  bool got = platform_->PollEvent(event);
  if (!got && !AnyTimerDue()) got = platform_->WaitEvent(event, MsToNextTimer());
  while (got) {
    Dispatch(event);
    got = platform_->PollEvent(event);
  }
  FireDueTimers();
  PaintDirty();
}

void Toolkit::RunMessageLoop() {
  while (!loaded_.empty()) DoEvents();
}

void Toolkit::End() { throw rt::ProcessEnd{}; }

void Toolkit::ReportError(const rt::RuntimeError& error) {
  const std::string where = error.where();
  rt::trace::Error(error.number(), error.description(), where);
  std::string text = "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
  if (!where.empty()) text += "\n\n" + where;
  rt::Notice("run-time error %d: %s%s%s", error.number(), error.description().c_str(), where.empty() ? "" : ": ",
         where.c_str());
  if (show_error_box_ && platform_) {
    PaintDirty();  // the windows as they were when it happened, behind the report
    platform_->ShowErrorReport("Radaded 2K", text);
  }
}

Control* Toolkit::HitTest(Form& form, int x, int y) const {
  for (Control* c : form.controls())
    if (c->visible() && c->Hit(x, y)) return c;
  return nullptr;
}

void Toolkit::Dispatch(const Event& event) {
  Form* form = FindForm(event.window);
  switch (event.type) {
    case Event::Type::kKeyUp:
      if (!form) return;
      rt::trace::Input("keyup");
      form->Form_KeyUp(static_cast<rt::Integer>(event.key), static_cast<rt::Integer>(event.shift));
      return;
    case Event::Type::kWheel:
      if (!form || !event.clicks) return;
      rt::trace::Input(event.clicks > 0 ? "wheelup" : "wheeldown");
      form->Form_MouseWheel(event.clicks);
      return;
    case Event::Type::kCopy:
      if (!form) return;
      rt::trace::Input("copy");
      form->Form_Copy();
      return;
    case Event::Type::kMouseDown:
      pressed_form_ = form;
      // The second press of a double click is a double click, not a click.
      pressed_control_ = form && event.clicks % 2 == 1 ? HitTest(*form, event.x, event.y) : nullptr;
      return;
    case Event::Type::kMouseUp: {
      Control* pressed = pressed_form_ == form ? pressed_control_ : nullptr;
      pressed_form_ = nullptr;
      pressed_control_ = nullptr;
      if (!form || !pressed || HitTest(*form, event.x, event.y) != pressed) return;
      rt::trace::Input("click", pressed->name());
      form->Click(*pressed);
      return;
    }
    case Event::Type::kClose:
      if (form) form->RequestClose(tk::vbFormControlMenu);
      return;
    case Event::Type::kQuit: {
      // Every window hears the request (the main window ends the process
      // itself); whatever is left, such as the intro, ends with them.
      const auto forms = loaded_;
      for (Form* f : forms)
        if (f->loaded()) f->RequestClose(tk::vbAppTaskManager);
      End();
    }
    case Event::Type::kFocus:
      if (form) Activate(*form);
      return;
    case Event::Type::kExpose:
      if (form) form->Invalidate();
      return;
    case Event::Type::kNone:
    case Event::Type::kWake:
      return;
  }
}

namespace {
template <typename F>
void ForEachRunningTimer(const std::vector<Form*>& forms, F&& f) {
  for (Form* form : forms)
    for (Control* c : form->controls())
      if (c->kind() == Control::Kind::kTimer && static_cast<Timer*>(c)->Running()) f(*static_cast<Timer*>(c));
}
}  // namespace

bool Toolkit::AnyTimerDue() const {
  const auto now = clock_->NowMs();
  bool due = false;
  ForEachRunningTimer(loaded_, [&](Timer& t) { due = due || t.due <= now; });
  return due;
}

int Toolkit::MsToNextTimer() const {
  const auto now = clock_->NowMs();
  std::int64_t next = std::numeric_limits<std::int64_t>::max();
  ForEachRunningTimer(loaded_, [&](Timer& t) { next = std::min(next, t.due); });
  if (next == std::numeric_limits<std::int64_t>::max()) return -1;
  return static_cast<int>(std::clamp<std::int64_t>(next - now, 0, 1 << 30));
}

void Toolkit::FireDueTimers() {
  std::vector<Timer*> due;
  const auto now = clock_->NowMs();
  ForEachRunningTimer(loaded_, [&](Timer& t) {
    if (t.due <= now) due.push_back(&t);
  });
  for (Timer* t : due) {
    // A handler may have stopped or unloaded this timer's form meanwhile.
    if (!t->Running() || t->due > now) continue;
    // The next tick keeps to the beat, but a busy spell leaves one tick, not a pile.
    t->due += t->interval();
    if (t->due <= now) t->due = now + t->interval();
    t->form().Tick(*t);
  }
}

void Toolkit::PaintDirty() {
  for (Form* f : loaded_) {
    if (!f->shown() || !f->dirty() || !f->host()) continue;
    f->host()->Paint(*f);
    f->Painted();
  }
}

}  // namespace tk
