#pragma once
// The toolkit's run time: the loaded forms, their timers, the dispatch of
// input, painting, the yield operation, End and the run-time error report.
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/clock.h"
#include "runtime/runtime_error.h"
#include "toolkit/event.h"
#include "toolkit/form_host.h"
#include "toolkit/platform.h"

namespace tk {

class Control;
class Form;

class Toolkit final : public FormHost {
 public:
  static Toolkit& Get();

  // Puts the platform and the clock in place; both outlive the toolkit's use.
  void Install(Platform& platform, const rt::Clock& clock);
  // Closes every window without running a handler (before the platform goes).
  void Shutdown();

  Platform& platform() { return *platform_; }
  const rt::Clock& clock() const { return *clock_; }

  // Yield: processes every pending event and due timer, paints what changed,
  // and returns. When nothing is pending it first blocks until an event
  // arrives or the next timer is due, so a polling loop around it sleeps.
  void DoEvents();
  // The message loop that follows the start-up procedure: runs until no form
  // is loaded.
  void RunMessageLoop();
  // Stops the process at once: no handler runs on the way out, which the
  // program's one way out takes from here (ProcessEnd).
  [[noreturn]] void End();
  // The report of an error that nobody trapped: trace, standard error and a
  // message box. The caller then ends the process with a non-zero status.
  void ReportError(const rt::RuntimeError& error);
  // Whether ReportError shows a message box (off in tests).
  void set_show_error_box(bool show) { show_error_box_ = show; }

  double ScreenWidth() const;  // twips
  double ScreenHeight() const;

  // What forms ask of it.
  void Register(Form& form) override;
  void Unregister(Form& form) override;
  void Activate(Form& form) override;
  std::unique_ptr<HostWindow> CreateHostWindow(const WindowSpec& design) override {
    return platform_->CreateHostWindow(design);
  }
  std::int64_t NowMs() const override { return clock_->NowMs(); }

  // Paints every shown form that changed.
  void PaintDirty();

 private:
  Toolkit();
  ~Toolkit();
  Form* FindForm(std::uint32_t window) const;
  void Dispatch(const Event& event);
  bool AnyTimerDue() const;
  int MsToNextTimer() const;
  void FireDueTimers();
  Control* HitTest(Form& form, int x, int y) const;

  Platform* platform_ = nullptr;
  const rt::Clock* clock_ = nullptr;
  std::vector<Form*> loaded_;
  Form* active_ = nullptr;
  Form* pressed_form_ = nullptr;
  Control* pressed_control_ = nullptr;
  bool show_error_box_ = true;
};

}  // namespace tk
