#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/sdl/controllers.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/event_translator.h"
#include "platform/sdl/report_box.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/x11_errors.h"
#include "runtime/notice.h"
#include "runtime/quit_request.h"
#include "runtime/runtime_error.h"

namespace sdl {
namespace {

// What any thread may ask, even before the platform exists: a wake, a quit.
std::atomic<Uint32> g_wake_event = static_cast<Uint32>(-1);
std::atomic<bool> g_quit_delivered = false;  // the quit asked for (rt::QuitAsked) handed to the loop
std::atomic<bool> g_report_showing = false;

bool TakeQuit(tk::Event& event) {
  if (!rt::QuitAsked() || g_quit_delivered.exchange(true)) return false;
  event = tk::Event{};
  event.type = tk::Event::Type::kQuit;
  return true;
}

}  // namespace

SdlPlatform::SdlPlatform(int scale, bool full_screen, void (*on_display_lost)())
    : windows_(std::make_unique<WindowSystem>(std::clamp(scale, 1, kMaxDisplayScale), full_screen)) {
  // The program takes the signals that ask it to end itself (RequestQuit).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Painting is done in software: the window surface goes straight to the
  // screen, with no GL texture behind it (and no 50 MB of GL driver loaded).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
    throw std::runtime_error(std::string("cannot open the display: ") + SDL_GetError());
  if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "x11") == 0)
    GuardX11Errors(on_display_lost);
  g_wake_event = SDL_RegisterEvents(1);
  translator_ = std::make_unique<EventTranslator>(*windows_, g_wake_event);
}

SdlPlatform::~SdlPlatform() {
  controllers_.reset();
  translator_.reset();
  windows_.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

std::unique_ptr<tk::HostWindow> SdlPlatform::CreateHostWindow(const tk::WindowSpec& design) {
  return windows_->Create(design);
}

bool SdlPlatform::PollEvent(tk::Event& event) {
  if (TakeQuit(event)) return true;
  if (controllers_) controllers_->Update();
  SDL_Event e;
  return SDL_PollEvent(&e) == 1 && translator_->Translate(e, event, controllers_.get());
}

bool SdlPlatform::WaitEvent(tk::Event& event, int timeout_ms) {
  if (TakeQuit(event)) return true;
  // The controllers (3 ms of SDL's set-up) wait for the first time the
  // program has nothing to do, off the way to the first window.
  if (!controllers_) controllers_ = std::make_unique<Controllers>(&SdlPlatform::Wake);
  controllers_->Update();
  SDL_Event e;  // SDL 2.26 on X11 needs a real event here, never a null pointer
  const int got = timeout_ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout_ms);
  if (TakeQuit(event)) return true;
  return got == 1 && translator_->Translate(e, event, controllers_.get());
}

void SdlPlatform::ScreenSize(int& width, int& height) const {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) rt::Raise(rt::kInvalidProcedureCall, "the screen size");
  width = mode.w / windows_->scale();
  height = mode.h / windows_->scale();
}

void SdlPlatform::SetClipboardText(const std::string& text) {
  if (SDL_SetClipboardText(text.c_str()) != 0) rt::Notice("cannot copy to the clipboard: %s", SDL_GetError());
}

void SdlPlatform::ShowErrorReport(const std::string& title, const std::string& text) {
  g_report_showing = true;
  // A quit asked for before the box is up, or while it is, closes it.
  if (!rt::QuitAsked()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
  g_report_showing = false;
}

void SdlPlatform::Wake() {
  const Uint32 type = g_wake_event;
  if (type == static_cast<Uint32>(-1)) return;
  SDL_Event e{};
  e.type = type;
  SDL_PushEvent(&e);
}

void SdlPlatform::RequestQuit() {
  rt::AskToQuit();  // once asked, for good; a picture being decoded meanwhile is not waited for
  Wake();
  // The box's child may not be there yet: look again until the box is down.
  for (int tries = 0; g_report_showing && tries < 100; ++tries) {
    CloseReportBox();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace sdl
