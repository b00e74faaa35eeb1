#pragma once
// The real window system: SDL2 windows painted in software, SDL's event queue.
#include <memory>
#include <string>

#include "toolkit/platform.h"

namespace sdl {

class Controllers;
class EventTranslator;
class WindowSystem;

class SdlPlatform final : public tk::Platform {
 public:
  // Initialises SDL's video and timer subsystems (the game controllers
  // follow at the first wait for an event); throws std::runtime_error when
  // there is no display to show windows on. At scale n (1 to 4) every
  // window, position and size is n times larger on the screen than the
  // program sees it, and mouse positions are mapped back. In full screen
  // (from the start, or toggled by F11 or Alt+Enter) every window covers the
  // screen with its design at the largest whole factor that fits, centred on
  // black. A game controller's button released is a key released (its left
  // shoulder's as PageUp's); Ctrl+C is the copy shortcut. When the
  // display's connection is lost, on_display_lost runs on whichever thread
  // finds it, and must not return.
  explicit SdlPlatform(int scale = 1, bool full_screen = false, void (*on_display_lost)() = nullptr);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  std::unique_ptr<tk::HostWindow> CreateHostWindow(const tk::WindowSpec& design) override;
  bool PollEvent(tk::Event& event) override;
  bool WaitEvent(tk::Event& event, int timeout_ms) override;
  void ScreenSize(int& width, int& height) const override;
  void SetClipboardText(const std::string& text) override;
  void ShowErrorReport(const std::string& title, const std::string& text) override;

  // Wakes a WaitEvent from any thread.
  static void Wake();
  // Asks the program to end as a desktop's quit does, from any thread, even
  // before the platform exists: the next event polled or waited for is the
  // quit, and an error report showing meanwhile is closed.
  static void RequestQuit();

 private:
  std::unique_ptr<WindowSystem> windows_;
  std::unique_ptr<EventTranslator> translator_;
  std::unique_ptr<Controllers> controllers_;
};

}  // namespace sdl
