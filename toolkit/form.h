#pragma once
// A form: one top-level window with design-time controls. The form object
// lives for the whole process (its destructor leaves any window it still holds
// to the end of the process); loading puts every control into its design
// state, unloading closes the window, and any later use loads it again.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "picture/picture.h"
#include "runtime/integer.h"
#include "toolkit/controls.h"
#include "toolkit/platform.h"

namespace tk {

// Why a form is being unloaded.
inline constexpr rt::Integer vbFormControlMenu = 0;  // the user closed the window
inline constexpr rt::Integer vbFormCode = 1;         // the Unload statement
inline constexpr rt::Integer vbAppTaskManager = 3;   // the session asked the program to quit

class Form : public ControlOwner {
 public:
  explicit Form(std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const override { return name_; }

  // Loads the form if needed, shows it without an owner and activates it.
  void Show();
  // The Unload statement: asks QueryUnload, then closes the window.
  void Unload();
  // True while the form is shown. Loads the form (hidden) when it is not loaded.
  bool Visible();
  void SetLeft(double twips);
  void SetTop(double twips);
  // Outer size of the window, frame included, in twips.
  double Width();
  double Height();

  bool loaded() const override { return loaded_; }
  // Loads the form into its design state when it is not loaded: any use of
  // the form or of one of its controls does this first.
  void Load() override;
  bool shown() const { return shown_; }

  // Event handlers; a form overrides those it handles.
  virtual void Form_Activate() {}
  virtual void Form_KeyUp(rt::Integer key_code, rt::Integer shift) { (void)key_code, (void)shift; }
  // The wheel turned by `steps` (above 0: away from the user).
  virtual void Form_MouseWheel(int steps) { (void)steps; }
  // The copy shortcut.
  virtual void Form_Copy() {}
  virtual void Form_QueryUnload(rt::Integer& cancel, rt::Integer unload_mode) { (void)cancel, (void)unload_mode; }
  virtual void Click(Control& control) { (void)control; }
  void Tick(Timer& timer) override { (void)timer; }

  // What the renderer and the toolkit read.
  const std::vector<Control*>& controls() const { return controls_; }  // front to back
  std::string caption;
  int client_width = 0;  // twips
  int client_height = 0;
  bool borderless = false;
  Rgb back_color = kButtonFace;
  pic::Picture icon;

  void Invalidate() override { dirty_ = true; }
  std::int64_t NowMs() const override;
  bool dirty() const { return dirty_; }
  void Painted() { dirty_ = false; }
  HostWindow* host() const { return host_.get(); }

  // A close request from the window system.
  void RequestClose(rt::Integer unload_mode);
  // Closes the window at the end of the process, running no handler.
  void ForceClose();

 protected:
  // Registers a control, in front-to-back order, from the constructor.
  void Add(Control& control, std::string name);
  // Puts the form and every control into the design state.
  virtual void LoadDesign() = 0;

 private:
  void MoveWindow(std::optional<double> left, std::optional<double> top);
  std::pair<double, double> OuterSize();  // twips
  void CloseWindow();

  std::string name_;
  std::vector<Control*> controls_;
  std::unique_ptr<HostWindow> host_;
  bool loaded_ = false;
  bool shown_ = false;
  bool dirty_ = true;
};

}  // namespace tk
