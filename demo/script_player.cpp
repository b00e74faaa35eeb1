#include "demo/script_player.h"

#include <array>
#include <string>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/script_line.h"
#include "demo/speakers.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"
#include "toolkit/picture_loader.h"
#include "toolkit/toolkit.h"

namespace Module1 {
namespace {

constexpr char kScriptFile[] = "Rodevez2E.dat";
constexpr tk::Integer kPageBudget = 400;
constexpr tk::Integer kLineCost = 20;

// The speaker table: the name shown for each speaker number of "#ICON".
const std::array<const char*, kLastSpeaker + 1> kSpeakers = {"", "ネフィ", "ソモ", "ダリモ社長", "セリナ", "編集長", "トバ", "記者", "dove"};

tk::Integer Length(const std::u32string& line) {
  if (line.size() > 32767) tk::Raise(tk::kOverflow);
  return static_cast<tk::Integer>(line.size());
}

bool IsCommand(const std::u32string& line) { return !line.empty() && line[0] == U'#'; }

// Reads the next line, and past any empty ones.
std::u32string SkipEmptyLines(tk::TextInput& file) {
  std::u32string line = file.LineInput();
  while (line.empty()) line = file.LineInput();
  return line;
}

void Play(tk::TextInput& file) {
  Form1& form = Forms::Form1();
  std::u32string line = file.LineInput();
  std::u32string page;
  for (;;) {
    // Gather the page.
    tk::Integer budget = 0;
    for (;;) {
      const tk::Integer n = Length(line);
      const bool command = IsCommand(line);
      const bool over = tk::AddInteger(budget, n) > kPageBudget;
      // A text line longer than a whole page would come back here for ever,
      // making empty pages: it is shown as a page of its own instead.
      const bool alone = over && !command && page.empty();
      if ((command || over) && !alone) break;
      page += line;
      page += U"\r\n";
      budget = tk::AddInteger(budget, n);
      line = file.LineInput();
      budget = tk::AddInteger(budget, kLineCost);
      if (alone) break;
    }

    // Show it and wait for the reader.
    form.Label1.SetCaption(tk::ToUtf8(page));
    page.clear();
    if (!form.Label1.Caption().empty()) WaitingForReader = tk::True;
    while (WaitingForReader != tk::False) tk::Toolkit::Get().DoEvents();

    // Carry out the command that ended the page.
    const std::u32string word = script::CommandWord(line);
    if (word == U"#PAGE") {
      line = SkipEmptyLines(file);
    } else if (word == U"#MIDI") {
      VN_Midi::StopMidi();
      VN_Midi::CurrentTune = tk::ToUtf8(script::MidiName(line));
      line = SkipEmptyLines(file);
    } else if (word == U"#PICT") {
      const std::string name = tk::ToUtf8(script::PictureName(line));
      form.Image1.SetPicture(tk::LoadPicture(name), name);
      line = SkipEmptyLines(file);
    } else if (word == U"#ICON") {
      const tk::Integer k = script::SpeakerNumber(line);
      if (k < 0 || k > kLastSpeaker) tk::Raise(tk::kSubscriptOutOfRange);
      form.Image2.SetPicture(form.Image4[k].GetPicture(), "Image4(" + std::to_string(k) + ")");
      form.Label2.SetCaption(kSpeakers[k]);
      line = SkipEmptyLines(file);
    } else if (word == U"#ENDI") {
      return;  // the end of the script, whatever follows it
    } else if (IsCommand(line) && !file.Eof()) {
      // Nothing would ever move past this line: a clear report instead.
      tk::Raise(tk::kInvalidProcedureCall, "unknown command \"" + tk::ToUtf8(word) + "\"");
    }
    if (file.Eof()) return;
  }
}

}  // namespace

void PlayScript() {
  Forms::Form1().Show();
  tk::TextInput file(kScriptFile);
  try {
    Play(file);
  } catch (tk::RuntimeError& e) {
    // Name the script line, unless reading the script itself failed.
    if (e.where().rfind(kScriptFile, 0) != 0)
      e.AddPlace(std::string(kScriptFile) + ", line " + std::to_string(file.line_number()));
    throw;
  }
}

}  // namespace Module1
