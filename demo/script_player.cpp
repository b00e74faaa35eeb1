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

void Play(script::ScriptReader& reader) {
  using Kind = script::Command::Kind;
  Form1& form = Forms::Form1();
  for (;;) {
    // Show the page and wait for the reader.
    form.Label1.SetCaption(tk::ToUtf8(reader.GatherPage()));
    if (!form.Label1.Caption().empty()) WaitingForReader = tk::True;
    while (WaitingForReader != tk::False) tk::Toolkit::Get().DoEvents();
    if (reader.ended()) return;

    // Carry out the command that ended the page.
    const script::Command command = script::ParseLine(reader.current());
    if (command.kind == Kind::kMusic) {
      VN_Midi::StopMidi();
      VN_Midi::CurrentTune = command.name;
    } else if (command.kind == Kind::kPicture) {
      form.Image1.SetPicture(tk::LoadPicture(command.name), command.name);
    } else if (command.kind == Kind::kSpeaker) {
      if (!command.speaker) tk::Raise(tk::kOverflow);
      const tk::Integer k = *command.speaker;
      if (!IsSpeaker(k)) tk::Raise(tk::kSubscriptOutOfRange);
      form.Image2.SetPicture(form.Image4[k].GetPicture(), "Image4(" + std::to_string(k) + ")");
      form.Label2.SetCaption(kSpeakers[k]);
    }
    if (!reader.Advance(command)) return;
  }
}

}  // namespace

void PlayScript() {
  Forms::Form1().Show();
  tk::TextInput file(kScriptFile);
  try {
    script::ScriptReader reader(file);
    Play(reader);
  } catch (tk::RuntimeError& e) {
    e.AddFileLine(kScriptFile, file.line_number());  // unless reading the script itself failed
    throw;
  }
}

}  // namespace Module1
