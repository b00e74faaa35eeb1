#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>
#include <stdexcept>
#include <vector>

#include "platform/sdl/controllers.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/form_renderer.h"
#include "platform/sdl/full_screen_keys.h"
#include "platform/sdl/sdl_ptrs.h"
#include "platform/sdl/window_manager.h"
#include "platform/sdl/x11_errors.h"
#include "runtime/runtime_error.h"

namespace tk {
namespace {

std::atomic<Uint32> g_wake_event = static_cast<Uint32>(-1);
std::atomic<bool> g_quit_requested = false;  // once asked, for good
std::atomic<bool> g_quit_delivered = false;
std::atomic<bool> g_report_showing = false;
int g_scale = 1;  // the platform's display scale: screen pixels per design pixel
bool g_full_screen = false;  // whether the windows cover the screen (F11, Alt+Enter)
FullScreenKeys g_full_screen_keys;
constexpr const char* kHostKey = "tk.host";  // an SDL window's SdlWindow

// Windows of unloaded forms, hidden until the platform shuts down. SDL wakes a
// waiting event loop from other threads by sending a message to one of its
// windows, and a window destroyed meanwhile turns that into an X error that
// ends the process; so no window is destroyed while the program runs.
std::vector<WindowPtr> g_parked;

class SdlWindow;
std::vector<SdlWindow*> g_live;  // every window not yet parked, oldest first

class SdlWindow final : public HostWindow {
 public:
  ~SdlWindow() override {
    std::erase(g_live, this);
    SDL_SetWindowData(window_.get(), kHostKey, nullptr);
    SDL_HideWindow(window_.get());
    g_parked.push_back(std::move(window_));
  }

  explicit SdlWindow(const WindowSpec& design)
      : decorated_(!design.borderless),
        design_w_(std::max(1, design.client_width)),
        design_h_(std::max(1, design.client_height)),
        renderer_(g_scale) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (design.borderless) flags |= SDL_WINDOW_BORDERLESS;
    window_.reset(SDL_CreateWindow(design.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   design_w_ * g_scale, design_h_ * g_scale, flags));
    if (!window_) throw std::runtime_error(std::string("cannot create a window: ") + SDL_GetError());
    if (design.icon) {
      SurfacePtr icon = SurfaceOf(*design.icon);
      if (icon) SDL_SetWindowIcon(window_.get(), icon.get());
    }
    SDL_SetWindowData(window_.get(), kHostKey, this);
    g_live.push_back(this);
  }

  static SdlWindow* Of(Uint32 id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    return window ? static_cast<SdlWindow*>(SDL_GetWindowData(window, kHostKey)) : nullptr;
  }

  std::uint32_t id() const override { return SDL_GetWindowID(window_.get()); }
  bool shown() const { return SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_SHOWN; }

  void Show() override {
    SDL_ShowWindow(window_.get());
    if (full_ != g_full_screen) SetFullScreen(g_full_screen);
    else if (!full_) CentreOnce();
    SDL_RaiseWindow(window_.get());
  }

  // Covers the whole screen, or puts the window back where it was.
  void SetFullScreen(bool on) {
    if (on == full_) return;
    SDL_Window* w = window_.get();
    if (on) {
      if (shown_before_ && !windowed_) {
        SDL_Point at{}, client{};
        Position(at.x, at.y);
        SDL_GetWindowPosition(w, &client.x, &client.y);
        windowed_ = at, windowed_client_ = client;
      }
      full_ = true;
      // A window manager covers the screen with the window itself, frame
      // gone; on a bare X server nobody does, so the window takes the
      // screen's place and size.
      bare_ = !HasWindowManager(w);
      if (bare_) {
        SDL_Rect screen{};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(w)), &screen) != 0) return;
        SDL_SetWindowPosition(w, screen.x, screen.y);
        SDL_SetWindowSize(w, screen.w, screen.h);
      } else {
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
      }
      SDL_RaiseWindow(w);
      return;
    }
    full_ = false;
    if (bare_) SDL_SetWindowSize(w, design_w_ * g_scale, design_h_ * g_scale);
    else SDL_SetWindowFullscreen(w, 0);
    if (windowed_client_) SDL_SetWindowPosition(w, windowed_client_->x, windowed_client_->y);
    else if (windowed_) Move(windowed_->x, windowed_->y);
    else CentreOnce();
    windowed_.reset(), windowed_client_.reset();
  }

  // Positions and sizes: the program's pixels, g_scale screen pixels each;
  // the frame is the window manager's, in screen pixels. In full screen they
  // are the window's as it stands when full screen is left.
  void Move(int x, int y) override {
    if (full_) {
      windowed_ = SDL_Point{x, y};
      windowed_client_.reset();
      return;
    }
    const Frame f = FrameOf();
    SDL_SetWindowPosition(window_.get(), x * g_scale + f.left, y * g_scale + f.top);
  }

  void Position(int& x, int& y) const override {
    if (full_) {
      SDL_DisplayMode screen{};
      SDL_GetDesktopDisplayMode(0, &screen);
      x = windowed_ ? windowed_->x : (screen.w / g_scale - design_w_) / 2;
      y = windowed_ ? windowed_->y : (screen.h / g_scale - design_h_) / 2;
      return;
    }
    const Frame f = FrameOf();
    SDL_GetWindowPosition(window_.get(), &x, &y);
    x = (x - f.left) / g_scale;
    y = (y - f.top) / g_scale;
  }

  void OuterSize(int& width, int& height) const override {
    if (full_) {
      width = design_w_, height = design_h_;
      return;
    }
    const Frame f = FrameOf();
    SDL_GetWindowSize(window_.get(), &width, &height);
    width = (width + f.left + f.right) / g_scale;
    height = (height + f.top + f.bottom) / g_scale;
  }

  // The form is painted straight into the window's own surface (on X11, the
  // image shared with the server), with no copy of the window in between;
  // only a display of another depth than 32 bits needs a 32-bit canvas. The
  // design stands at the largest whole factor the window holds (the display
  // scale in a window, more in full screen), centred on black.
  void Paint(const Form& form) override {
    SDL_Surface* screen = SDL_GetWindowSurface(window_.get());
    if (!screen) return;
    const int n = std::max(1, std::min(screen->w / design_w_, screen->h / design_h_));
    const int x = std::max(0, (screen->w - design_w_ * n) / 2), y = std::max(0, (screen->h - design_h_ * n) / 2);
    const int w = std::min(screen->w, design_w_ * n), h = std::min(screen->h, design_h_ * n);
    const SDL_Rect black[] = {{0, 0, screen->w, y},
                              {0, y + h, screen->w, screen->h - y - h},
                              {0, y, x, h},
                              {x + w, y, screen->w - x - w, h}};
    SDL_FillRects(screen, black, 4, SDL_MapRGB(screen->format, 0, 0, 0));
    FormRenderer& renderer = RendererAt(n);
    if (screen->format->BytesPerPixel == 4) {
      SurfacePtr view(SDL_CreateRGBSurfaceWithFormatFrom(static_cast<Uint8*>(screen->pixels) + y * screen->pitch + x * 4,
                                                         w, h, 32, screen->pitch, screen->format->format));
      if (!view) return;
      renderer.RenderInto(form, view.get());
    } else {
      if (!canvas_ || canvas_->w != w || canvas_->h != h)
        canvas_.reset(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
      if (!canvas_) return;
      renderer.RenderInto(form, canvas_.get());
      SDL_SetSurfaceBlendMode(canvas_.get(), SDL_BLENDMODE_NONE);
      SDL_Rect at{x, y, w, h};
      SDL_BlitSurface(canvas_.get(), nullptr, screen, &at);
    }
    painted_ = {x, y, n};
    SDL_UpdateWindowSurface(window_.get());
  }

  // A point of the client area in the design's pixels, as last painted;
  // -1, -1 off the design (the black around it in full screen).
  void ToDesign(int& x, int& y) const {
    x -= painted_.x, y -= painted_.y;
    if (x < 0 || y < 0 || x >= design_w_ * painted_.factor || y >= design_h_ * painted_.factor) {
      x = y = -1;
    } else {
      x /= painted_.factor, y /= painted_.factor;
    }
  }

 private:
  struct Frame {
    int top = 0, left = 0, bottom = 0, right = 0;
  };

  // Created centred by its client area; once the window manager has framed
  // it, the frame is what stands centred on the screen (and a window shown
  // first in full screen comes back to the centre). Once, when the window is
  // first shown in a window.
  void CentreOnce() {
    if (shown_before_) return;
    shown_before_ = true;
    const Frame f = FrameOf();
    SDL_DisplayMode screen{};
    if (SDL_GetDesktopDisplayMode(0, &screen) == 0) {
      int w = 0, h = 0;
      SDL_GetWindowSize(window_.get(), &w, &h);
      SDL_SetWindowPosition(window_.get(), (screen.w - (w + f.left + f.right)) / 2 + f.left,
                            (screen.h - (h + f.top + f.bottom)) / 2 + f.top);
    }
  }

  FormRenderer& RendererAt(int factor) {
    if (factor == g_scale) return renderer_;
    if (!other_renderer_ || other_renderer_->scale() != factor) other_renderer_ = std::make_unique<FormRenderer>(factor);
    return *other_renderer_;
  }

  // The window manager's frame around the client area. A decorated window
  // just shown may not have heard its frame's size yet (the window manager
  // says it a moment after the window is mapped): wait for it, up to 200 ms,
  // so that the frame, not the client area, is what gets centred. With no
  // window manager there is never a frame, and only the first window waits.
  Frame FrameOf() const {
    static bool frames_absent = false;
    Frame f;
    if (!decorated_) return f;
    for (int waited = 0;; waited += 5) {
      SDL_GetWindowBordersSize(window_.get(), &f.top, &f.left, &f.bottom, &f.right);
      if (f.top || f.left || f.bottom || f.right) {
        frames_absent = false;
        return f;
      }
      if (frames_absent || !(SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_SHOWN) || waited >= 200) break;
      SDL_PumpEvents();
      SDL_Delay(5);
    }
    if (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_SHOWN) frames_absent = true;
    return f;
  }

  WindowPtr window_;
  bool decorated_;
  int design_w_, design_h_;  // the client area in design pixels
  bool shown_before_ = false;  // in a window, centred
  bool full_ = false;
  bool bare_ = false;  // full screen made by moving and sizing, with no window manager
  // Where full screen returns to: the outer corner in design pixels, and the
  // client area's own corner on the screen unless the program moved it since.
  std::optional<SDL_Point> windowed_, windowed_client_;
  struct {
    int x = 0, y = 0;  // the design's corner in the client area
    int factor = 1;
  } painted_;
  FormRenderer renderer_;  // at the display scale
  std::unique_ptr<FormRenderer> other_renderer_;  // at another factor, in full screen
  SurfacePtr canvas_;  // only for a display that is not 32 bits deep
};

void SetFullScreen(bool on) {
  g_full_screen = on;
  for (SdlWindow* w : g_live)
    if (w->shown()) w->SetFullScreen(on);
}

// The window a controller's buttons go to: the one with the keyboard's focus,
// else the last one shown.
Uint32 ControllerWindow() {
  if (SDL_Window* focus = SDL_GetKeyboardFocus()) return SDL_GetWindowID(focus);
  for (auto it = g_live.rbegin(); it != g_live.rend(); ++it)
    if ((*it)->shown()) return (*it)->id();
  return 0;
}

int ShiftState(Uint16 mod) {
  return ((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) | ((mod & KMOD_ALT) ? 4 : 0);
}

// The original platform's virtual key code where one is obvious.
int VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  switch (key) {
    case SDLK_RETURN: return 13;
    case SDLK_SPACE: return 32;
    case SDLK_ESCAPE: return 27;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    default: return 0;
  }
}

bool Translate(const SDL_Event& in, Event& out, Controllers* controllers) {
  out = Event{};
  switch (in.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const auto action = g_full_screen_keys.Key(in.key);
      if (action == FullScreenKeys::Action::kToggle) SetFullScreen(!g_full_screen);
      if (in.type == SDL_KEYDOWN || action != FullScreenKeys::Action::kPass) return true;
      out.type = Event::Type::kKeyUp;
      out.window = in.key.windowID;
      out.key = VirtualKey(in.key.keysym.sym);
      out.shift = ShiftState(in.key.keysym.mod);
      return true;
    }
    // A controller's button released turns a page as a key released does.
    case SDL_CONTROLLERBUTTONUP:
      out.type = Event::Type::kKeyUp;
      out.window = ControllerWindow();
      return true;
    case SDL_CONTROLLERDEVICEADDED:
      if (controllers) controllers->Added(in.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (controllers) controllers->Removed(in.cdevice.which);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (in.button.button != SDL_BUTTON_LEFT) return true;
      out.type = in.type == SDL_MOUSEBUTTONDOWN ? Event::Type::kMouseDown : Event::Type::kMouseUp;
      out.window = in.button.windowID;
      out.x = in.button.x;
      out.y = in.button.y;
      if (const SdlWindow* window = SdlWindow::Of(in.button.windowID)) window->ToDesign(out.x, out.y);
      out.clicks = in.button.clicks;
      return true;
    case SDL_WINDOWEVENT:
      out.window = in.window.windowID;
      if (in.window.event == SDL_WINDOWEVENT_CLOSE) out.type = Event::Type::kClose;
      if (in.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) out.type = Event::Type::kFocus;
      if (in.window.event == SDL_WINDOWEVENT_EXPOSED || in.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        out.type = Event::Type::kExpose;
      return true;
    case SDL_QUIT:
      out.type = Event::Type::kQuit;
      return true;
    default:
      if (in.type == g_wake_event) out.type = Event::Type::kWake;
      return true;
  }
}

// SDL shows a message box in a child process of the thread that asks for it,
// and waits for that child: ending the child closes the box.
void CloseReportBox() {
  const std::string parent = " " + std::to_string(::getpid()) + " ";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const int pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0) continue;
    std::ifstream in(entry.path() / "stat");
    std::string stat;
    std::getline(in, stat);
    // pid (name) state ppid ...: the name may hold anything but ends at the last ')'.
    const auto close = stat.rfind(')');
    if (close != std::string::npos && stat.find(parent, close + 2) == close + 3) ::kill(pid, SIGKILL);
  }
}

bool TakeQuit(Event& event) {
  if (!g_quit_requested || g_quit_delivered.exchange(true)) return false;
  event = Event{};
  event.type = Event::Type::kQuit;
  return true;
}

}  // namespace

SdlPlatform::SdlPlatform(int scale, bool full_screen, void (*on_display_lost)())
    : scale_(std::clamp(scale, 1, kMaxDisplayScale)) {
  g_scale = scale_;
  g_full_screen = full_screen;
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
}

SdlPlatform::~SdlPlatform() {
  controllers_.reset();
  g_parked.clear();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

std::unique_ptr<HostWindow> SdlPlatform::CreateHostWindow(const WindowSpec& design) {
  return std::make_unique<SdlWindow>(design);
}

bool SdlPlatform::PollEvent(Event& event) {
  if (TakeQuit(event)) return true;
  if (controllers_) controllers_->Update();
  SDL_Event e;
  return SDL_PollEvent(&e) == 1 && Translate(e, event, controllers_.get());
}

bool SdlPlatform::WaitEvent(Event& event, int timeout_ms) {
  if (TakeQuit(event)) return true;
  // The controllers (3 ms of SDL's set-up) wait for the first time the
  // program has nothing to do, off the way to the first window.
  if (!controllers_) controllers_ = std::make_unique<Controllers>(&SdlPlatform::Wake);
  controllers_->Update();
  SDL_Event e;  // SDL 2.26 on X11 needs a real event here, never a null pointer
  const int got = timeout_ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout_ms);
  if (TakeQuit(event)) return true;
  return got == 1 && Translate(e, event, controllers_.get());
}

void SdlPlatform::ScreenSize(int& width, int& height) const {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) Raise(kInvalidProcedureCall, "the screen size");
  width = mode.w / scale_;
  height = mode.h / scale_;
}

void SdlPlatform::ShowErrorReport(const std::string& title, const std::string& text) {
  g_report_showing = true;
  // A quit asked for before the box is up, or while it is, closes it.
  if (!g_quit_requested) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
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
  g_quit_requested = true;
  Wake();
  // The box's child may not be there yet: look again until the box is down.
  for (int tries = 0; g_report_showing && tries < 100; ++tries) {
    CloseReportBox();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace tk
