#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/sdl/form_renderer.h"
#include "platform/sdl/window_manager.h"

namespace sdl {
namespace {

constexpr const char* kHostKey = "tk.host";  // an SDL window's SdlWindow

}  // namespace

class SdlWindow final : public tk::HostWindow {
 public:
  ~SdlWindow() override {
    SDL_SetWindowData(window_.get(), kHostKey, nullptr);
    SDL_HideWindow(window_.get());
    std::erase(system_.live_, this);
    system_.parked_.push_back(std::move(window_));
  }

  SdlWindow(WindowSystem& system, const tk::WindowSpec& design)
      : system_(system),
        decorated_(!design.borderless),
        design_w_(std::max(1, design.client_width)),
        design_h_(std::max(1, design.client_height)),
        renderer_(system.scale()) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (design.borderless) flags |= SDL_WINDOW_BORDERLESS;
    window_.reset(SDL_CreateWindow(design.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   design_w_ * system_.scale(), design_h_ * system_.scale(), flags));
    if (!window_) throw std::runtime_error(std::string("cannot create a window: ") + SDL_GetError());
    if (design.icon) {
      SurfacePtr icon = SurfaceOf(*design.icon);
      if (icon) SDL_SetWindowIcon(window_.get(), icon.get());
    }
    SDL_SetWindowData(window_.get(), kHostKey, this);
    system_.live_.push_back(this);
  }

  static SdlWindow* Of(Uint32 id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    return window ? static_cast<SdlWindow*>(SDL_GetWindowData(window, kHostKey)) : nullptr;
  }

  std::uint32_t id() const override { return SDL_GetWindowID(window_.get()); }
  bool shown() const { return SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_SHOWN; }

  void Show() override {
    SDL_ShowWindow(window_.get());
    if (full_ != system_.full_screen()) SetFullScreen(system_.full_screen());
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
    if (bare_) SDL_SetWindowSize(w, design_w_ * system_.scale(), design_h_ * system_.scale());
    else SDL_SetWindowFullscreen(w, 0);
    if (windowed_client_) SDL_SetWindowPosition(w, windowed_client_->x, windowed_client_->y);
    else if (windowed_) Move(windowed_->x, windowed_->y);
    else CentreOnce();
    windowed_.reset(), windowed_client_.reset();
  }

  // Positions and sizes: the program's pixels, system_.scale() screen pixels each;
  // the frame is the window manager's, in screen pixels. In full screen they
  // are the window's as it stands when full screen is left.
  void Move(int x, int y) override {
    if (full_) {
      windowed_ = SDL_Point{x, y};
      windowed_client_.reset();
      return;
    }
    const Frame f = FrameOf();
    SDL_SetWindowPosition(window_.get(), x * system_.scale() + f.left, y * system_.scale() + f.top);
  }

  void Position(int& x, int& y) const override {
    if (full_) {
      SDL_DisplayMode screen{};
      SDL_GetDesktopDisplayMode(0, &screen);
      x = windowed_ ? windowed_->x : (screen.w / system_.scale() - design_w_) / 2;
      y = windowed_ ? windowed_->y : (screen.h / system_.scale() - design_h_) / 2;
      return;
    }
    const Frame f = FrameOf();
    SDL_GetWindowPosition(window_.get(), &x, &y);
    x = (x - f.left) / system_.scale();
    y = (y - f.top) / system_.scale();
  }

  void OuterSize(int& width, int& height) const override {
    if (full_) {
      width = design_w_, height = design_h_;
      return;
    }
    const Frame f = FrameOf();
    SDL_GetWindowSize(window_.get(), &width, &height);
    width = (width + f.left + f.right) / system_.scale();
    height = (height + f.top + f.bottom) / system_.scale();
  }

  // The form is painted straight into the window's own surface (on X11, the
  // image shared with the server), with no copy of the window in between;
  // only a display of another depth than 32 bits needs a 32-bit canvas. The
  // design stands at the largest whole factor the window holds (the display
  // scale in a window, more in full screen), centred on black.
  void Paint(const tk::Form& form) override {
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
    if (factor == system_.scale()) return renderer_;
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

  WindowSystem& system_;
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


std::unique_ptr<tk::HostWindow> WindowSystem::Create(const tk::WindowSpec& design) {
  return std::make_unique<SdlWindow>(*this, design);
}

void WindowSystem::SetFullScreen(bool on) {
  full_screen_ = on;
  for (SdlWindow* w : live_)
    if (w->shown()) w->SetFullScreen(on);
}

Uint32 WindowSystem::ControllerWindow() const {
  if (SDL_Window* focus = SDL_GetKeyboardFocus()) return SDL_GetWindowID(focus);
  for (auto it = live_.rbegin(); it != live_.rend(); ++it)
    if ((*it)->shown()) return (*it)->id();
  return 0;
}

void WindowSystem::ToDesign(Uint32 window, int& x, int& y) const {
  if (const SdlWindow* w = SdlWindow::Of(window)) w->ToDesign(x, y);
}

}  // namespace sdl
