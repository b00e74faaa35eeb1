#include "platform/sdl/event_translator.h"

#include "platform/sdl/controllers.h"
#include "platform/sdl/sdl_window.h"

namespace sdl {
namespace {

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
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    default: return 0;
  }
}

}  // namespace

bool EventTranslator::Translate(const SDL_Event& in, tk::Event& out, Controllers* controllers) {
  out = tk::Event{};
  switch (in.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const auto action = keys_.Key(in.key);
      if (action == ShortcutKeys::Action::kFullScreen) windows_.SetFullScreen(!windows_.full_screen());
      out.window = in.key.windowID;
      if (action == ShortcutKeys::Action::kCopy) out.type = tk::Event::Type::kCopy;
      if (in.type == SDL_KEYDOWN || action != ShortcutKeys::Action::kPass) return true;
      out.type = tk::Event::Type::kKeyUp;
      out.key = VirtualKey(in.key.keysym.sym);
      out.shift = ShiftState(in.key.keysym.mod);
      return true;
    }
    // A controller's button released turns a page as a key released does;
    // the left shoulder's as PageUp's.
    case SDL_CONTROLLERBUTTONUP:
      out.type = tk::Event::Type::kKeyUp;
      out.window = windows_.ControllerWindow();
      if (in.cbutton.button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER) out.key = VirtualKey(SDLK_PAGEUP);
      return true;
    case SDL_MOUSEWHEEL:
      out.type = tk::Event::Type::kWheel;
      out.window = in.wheel.windowID;
      out.clicks = in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -in.wheel.y : in.wheel.y;
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
      out.type = in.type == SDL_MOUSEBUTTONDOWN ? tk::Event::Type::kMouseDown : tk::Event::Type::kMouseUp;
      out.window = in.button.windowID;
      out.x = in.button.x;
      out.y = in.button.y;
      windows_.ToDesign(in.button.windowID, out.x, out.y);
      out.clicks = in.button.clicks;
      return true;
    case SDL_WINDOWEVENT:
      out.window = in.window.windowID;
      if (in.window.event == SDL_WINDOWEVENT_CLOSE) out.type = tk::Event::Type::kClose;
      if (in.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) out.type = tk::Event::Type::kFocus;
      if (in.window.event == SDL_WINDOWEVENT_EXPOSED || in.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        out.type = tk::Event::Type::kExpose;
      return true;
    case SDL_QUIT:
      out.type = tk::Event::Type::kQuit;
      return true;
    default:
      if (in.type == wake_event_) out.type = tk::Event::Type::kWake;
      return true;
  }
}


}  // namespace sdl
