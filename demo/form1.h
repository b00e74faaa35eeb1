#pragma once
// Form1, the main window in which the story is read: page text, scene picture,
// speaker portrait and name, the title, the page-turn image, the portrait
// store, the credits shade and the music-loop timer.
#include <array>
#include <string>

#include "demo/speakers.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

class Form1 final : public tk::Form {
 public:
  Form1();

  // Front to back.
  tk::Timer Timer1;
  tk::Timer Timer2;                // page timer, when pages turn by themselves
  tk::Shape Shape2;                // credits shade
  // Portrait store, below the client area: element k is speaker k's portrait
  // (element 0, nobody, holds none).
  std::array<tk::Image, kLastSpeaker + 1> Image4;
  tk::Image Image3;                // page-turn image
  tk::Shape Shape1;                // title frame
  tk::Label Label3;                // title label
  tk::Label Label2;                // speaker-name label
  tk::Label Label1;                // page label
  tk::Image Image2;                // speaker portrait
  tk::Image Image1;                // scene picture pane

  // Any key released turns the page, PageUp goes back one; so does the
  // wheel turned up, and down turns it.
  void Form_KeyUp(rt::Integer key_code, rt::Integer shift) override;
  void Form_MouseWheel(int steps) override;
  // The copy shortcut: the speaker's name and the page, on the clipboard.
  void Form_Copy() override;
  void Form_QueryUnload(rt::Integer& cancel, rt::Integer unload_mode) override;
  void Click(tk::Control& control) override;
  void Tick(tk::Timer& timer) override;

  // Puts a label into the page label's design state (where the story checker
  // lays out pages as the window will show them).
  static void DesignPageLabel(tk::Label& label, std::string caption = {});

 protected:
  void LoadDesign() override;
};
