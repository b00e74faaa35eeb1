#pragma once
// What a control asks of the form it belongs to (a Form is the one owner):
// to be loaded first whenever the control is used, to be painted again when
// the control changes, the form's name for the trace, a timer's tick, and
// the time.
#include <cstdint>
#include <string>

namespace tk {

class Timer;

class ControlOwner {
 public:
  virtual void Load() = 0;
  virtual bool loaded() const = 0;
  virtual void Invalidate() = 0;
  virtual const std::string& name() const = 0;
  virtual void Tick(Timer& timer) = 0;
  // The toolkit's clock, in milliseconds.
  virtual std::int64_t NowMs() const = 0;

 protected:
  ~ControlOwner() = default;
};

}  // namespace tk
