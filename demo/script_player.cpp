#include "demo/script_player.h"

#include <array>
#include <string>

#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/script_line.h"
#include "demo/script_reader.h"
#include "demo/speakers.h"
#include "demo/story_files.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"
#include "toolkit/picture_loader.h"
#include "toolkit/toolkit.h"

namespace Module1 {
namespace {

// The speaker table: the name shown for each speaker number of "#ICON".
const std::array<const char*, kLastSpeaker + 1> kSpeakers = {"", "ネフィ", "ソモ", "ダリモ社長", "セリナ", "編集長", "トバ", "記者", "dove"};

void Play(tk::TextInput& file) {
  Form1& form = Forms::Form1();
  script::ScriptReader reader(file);
  for (;;) {
    // Show the page and wait for the reader.
    form.Label1.SetCaption(tk::ToUtf8(reader.GatherPage()));
    if (!form.Label1.Caption().empty()) WaitingForReader = tk::True;
    while (WaitingForReader != tk::False) tk::Toolkit::Get().DoEvents();
    if (reader.ended()) return;

    // Carry out the command that ended the page.
    const std::u32string& line = reader.current();
    const std::u32string word = script::CommandWord(line);
    if (word == U"#PAGE") {
      reader.SkipEmptyLines();
    } else if (word == U"#MIDI") {
      VN_Midi::StopMidi();
      VN_Midi::CurrentTune = tk::ToUtf8(script::MidiName(line));
      reader.SkipEmptyLines();
    } else if (word == U"#PICT") {
      const std::string name = tk::ToUtf8(script::PictureName(line));
      form.Image1.SetPicture(tk::LoadPicture(name), name);
      reader.SkipEmptyLines();
    } else if (word == U"#ICON") {
      const tk::Integer k = script::SpeakerNumber(line);
      if (k < 0 || k > kLastSpeaker) tk::Raise(tk::kSubscriptOutOfRange);
      form.Image2.SetPicture(form.Image4[k].GetPicture(), "Image4(" + std::to_string(k) + ")");
      form.Label2.SetCaption(kSpeakers[k]);
      reader.SkipEmptyLines();
    } else if (word == U"#ENDI") {
      return;  // the end of the script, whatever follows it
    } else if (script::IsCommand(line) && !reader.AtEnd()) {
      // Nothing would ever move past this line: a clear report instead.
      tk::Raise(tk::kInvalidProcedureCall, "unknown command \"" + tk::ToUtf8(word) + "\"");
    }
    if (reader.AtEnd()) return;
  }
}

}  // namespace

void PlayScript() {
  Forms::Form1().Show();
  tk::TextInput file(kScriptFile);
  try {
    Play(file);
  } catch (tk::RuntimeError& e) {
    e.AddFileLine(kScriptFile, file.line_number());  // unless reading the script itself failed
    throw;
  }
}

}  // namespace Module1
