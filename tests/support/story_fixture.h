#pragma once
// Runs the system's code over a script written into a fresh current
// directory, with a reader who turns every page it is shown, and reads what
// happened back from the trace as a short log: "page <text>", "turn",
// "back" (the page before asked for), "name <text>", "icon <source>", "pict <source>", "play <tune>", "stop",
// "shade".
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"
#include "support/recording_midi_device.h"
#include "support/temp_dir.h"
#include "support/toolkit_fixture.h"

namespace testing_support {

class StoryFixture : public ToolkitFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the script (UTF-8 text, stored in code page 932) as Rodevez2E.dat.
  void WriteScript(const std::string& utf8);
  void WriteFile(const std::string& name, const std::string& bytes);
  // The reader turns every page shown; returns false when `run` raised an error.
  template <typename F>
  bool Run(F&& run) {
    try {
      run();
      return true;
    } catch (const rt::RuntimeError& e) {
      error = e;
      return false;
    }
  }
  // The story as the main window and the sound show it; with `windows`, also
  // "show <form>", "unload <form>" and "wav <name>".
  std::vector<std::string> Log(bool windows = false) const;
  // Every property set on a form, as "<ms> <control> <prop> <value>".
  std::vector<std::string> Sets(const std::string& form) const;

  std::optional<testing_support::TempDir> temp;
  std::optional<testing_support::InDirectory> in_dir;
  std::filesystem::path dir, trace_path;
  RecordingMidiDevice midi;
  std::optional<rt::RuntimeError> error;
};

}  // namespace testing_support
