#pragma once
// What the toolkit needs of the window system: top-level windows to show
// forms in, and a queue of input events. The SDL back end is the real one;
// tests put a scripted one in its place.
#include <cstdint>
#include <memory>
#include <string>

#include "picture/picture.h"
#include "toolkit/event.h"

namespace tk {

class Form;

struct WindowSpec {
  std::string title;
  int client_width = 0;  // pixels
  int client_height = 0;
  bool borderless = false;
  pic::Picture icon;
};

class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual std::uint32_t id() const = 0;
  virtual void Show() = 0;
  // The outer top-left corner, frame included, in pixels.
  virtual void Move(int x, int y) = 0;
  virtual void Position(int& x, int& y) const = 0;
  // Outer size in pixels, frame included.
  virtual void OuterSize(int& width, int& height) const = 0;
  // Paints the form's client area as the model says it is now, and puts it
  // on the screen.
  virtual void Paint(const Form& form) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  // A new window, centred on the screen and hidden.
  virtual std::unique_ptr<HostWindow> CreateHostWindow(const WindowSpec& design) = 0;
  virtual bool PollEvent(Event& event) = 0;
  // Blocks until an event arrives (true) or timeout_ms pass (false); a
  // negative timeout waits for as long as it takes.
  virtual bool WaitEvent(Event& event, int timeout_ms) = 0;
  virtual void ScreenSize(int& width, int& height) const = 0;
  // Puts UTF-8 text on the system's clipboard.
  virtual void SetClipboardText(const std::string& text) = 0;
  // Shows a run-time error report to the user (and waits for it to be read).
  virtual void ShowErrorReport(const std::string& title, const std::string& text) = 0;
};

}  // namespace tk
