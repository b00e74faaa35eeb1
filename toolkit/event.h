#pragma once
// The toolkit's own input events, as the platform delivers them.
#include <cstdint>

namespace tk {

struct Event {
  enum class Type {
    kNone,       // something of no interest arrived
    kKeyUp,      // a key was released
    kMouseDown,  // left button pressed (clicks: 1 single, 2 double, ...)
    kMouseUp,    // left button released
    kWheel,      // the mouse wheel turned: clicks steps, above 0 away from the user
    kCopy,       // the copy shortcut (Ctrl+C) was pressed
    kClose,      // the user asked to close the window
    kQuit,       // the session asks the application to quit
    kFocus,      // the window became the active one
    kExpose,     // the window must be painted again
    kWake,       // another thread has news (a tune ended)
  };
  Type type = Type::kNone;
  std::uint32_t window = 0;
  int x = 0;
  int y = 0;
  int clicks = 0;
  int key = 0;    // key code, as the original platform's virtual keys where known
  int shift = 0;  // 1 shift, 2 ctrl, 4 alt
};

}  // namespace tk
