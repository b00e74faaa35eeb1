#pragma once
// What a form asks of the toolkit that runs it (the Toolkit is the one
// host): to know of it while it is loaded, to make it the active form, a
// window of the platform's, and the time.
#include <cstdint>
#include <memory>

#include "toolkit/platform.h"

namespace tk {

class Form;

class FormHost {
 public:
  // The toolkit.
  static FormHost& Get();

  virtual void Register(Form& form) = 0;
  virtual void Unregister(Form& form) = 0;
  virtual void Activate(Form& form) = 0;
  virtual std::unique_ptr<HostWindow> CreateHostWindow(const WindowSpec& design) = 0;
  virtual std::int64_t NowMs() const = 0;

 protected:
  ~FormHost() = default;
};

}  // namespace tk
