#pragma once
// A scripted window system for tests: windows are records, input events are
// queued for a moment of a ManualClock, and waiting moves that clock forward
// instead of sleeping, so a test runs minutes of timers in no time.
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "toolkit/platform.h"

namespace testing_support {

class FakeWindow;

class FakePlatform final : public tk::Platform {
 public:
  rt::ManualClock clock;
  int screen_width = 1024, screen_height = 768;
  std::vector<int> waits;  // every WaitEvent timeout asked for
  std::vector<FakeWindow*> windows;  // every window created and not yet destroyed
  // Runs whenever the program is about to wait: a test's reader, or the world
  // changing at a given time.
  std::function<void()> on_wait;
  // Runs whenever a window is painted; nothing is drawn unless it is set (the
  // toolkit's tests read the model), and PaintWithRenderer
  // (painted_windows.h) draws as the SDL back end does.
  std::function<void(const tk::Form&)> on_paint;

  // Queues an event, delivered once the clock reaches `at` (default: now).
  void Post(tk::Event event, std::int64_t at = -1);
  // Input for a window (0: the newest window at the time it is delivered).
  void KeyUp(std::uint32_t window = 0, std::int64_t at = -1, int key = 0, int shift = 0);
  void Click(std::uint32_t window, int x, int y, int clicks = 1, std::int64_t at = -1);

  std::unique_ptr<tk::HostWindow> CreateHostWindow(const tk::WindowSpec& design) override;
  bool PollEvent(tk::Event& event) override;
  bool WaitEvent(tk::Event& event, int timeout_ms) override;
  void ScreenSize(int& width, int& height) const override {
    width = screen_width;
    height = screen_height;
  }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void ShowErrorReport(const std::string&, const std::string& text) override { reports.push_back(text); }
  std::string clipboard;
  std::vector<std::string> reports;  // the text of every error report shown

 private:
  struct Pending {
    std::int64_t at;
    tk::Event event;
  };
  std::deque<Pending> queue_;
  std::uint32_t next_id_ = 1;
};

class FakeWindow final : public tk::HostWindow {
 public:
  ~FakeWindow() override;
  std::uint32_t id() const override { return id_; }
  void Show() override { shown = true; }
  void Move(int nx, int ny) override { x = nx, y = ny; }
  void Position(int& ox, int& oy) const override { ox = x, oy = y; }
  void OuterSize(int& w, int& h) const override { w = design.client_width, h = design.client_height; }
  void Paint(const tk::Form& form) override;

  tk::WindowSpec design;
  bool shown = false;
  int x = 0, y = 0;

 private:
  FakePlatform& owner_;
  std::uint32_t id_;

 public:
  FakeWindow(FakePlatform& owner, tk::WindowSpec window_design, std::uint32_t id)
      : design(std::move(window_design)), owner_(owner), id_(id) {}
};

}  // namespace testing_support
