#include "demo/script_player.h"

#include <array>
#include <functional>
#include <string>

#include "demo/auto_turn.h"
#include "demo/form1.h"
#include "demo/forms.h"
#include "demo/script_line.h"
#include "demo/read_aloud.h"
#include "demo/script_reader.h"
#include "demo/services.h"
#include "demo/speakers.h"
#include "demo/story_files.h"
#include "demo/story_watcher.h"
#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/quit_request.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"
#include "toolkit/picture_loader.h"
#include "toolkit/toolkit.h"

namespace Module1 {
namespace {

// The speaker table: the name shown for each speaker number of "#ICON".
const std::array<const char*, kLastSpeaker + 1> kSpeakers = {"", "ネフィ", "ソモ", "ダリモ社長", "セリナ", "編集長", "トバ", "記者", "dove"};

// A page as the player made it, kept once: the caption shows it, and the
// page timer and the speech read it from here.
struct Page {
  const char* speaker = kSpeakers[0];
  std::u32string text;
  std::string caption;  // the text in UTF-8
};

// Back to the scene of the story's start, before a page is built again.
void ClearScene(Form1& form, Page& page) {
  form.Image1.SetPicture({}, "");
  form.Image2.SetPicture(form.Image4[0].GetPicture(), "Image4(0)");
  page.speaker = kSpeakers[0];
  form.Label2.SetCaption(page.speaker);
}

// The wait on a page shown: while the flag is set, yields to the window
// system; meanwhile the page is read aloud and turns by itself, when those
// are on. `stop`, asked after each yield, ends the wait early with the flag
// still set (the page is to be built again); returns whether it did.
bool WaitForReader(Form1& form, const Page& page, const std::function<bool()>& stop) {
  if (WaitingForReader == rt::False) return false;
  const int auto_ms = Wired().auto_turn_ms;
  if (auto_ms >= 0) {
    form.Timer2.SetInterval(auto_ms > 0 ? auto_ms : AutoTurn::ReadingTimeMs(page.text));
    form.Timer2.SetEnabled(true);
  }
  ReadAloud::Page(page.speaker, page.caption);
  bool stopped = false;
  while (WaitingForReader != rt::False && !stopped) {
    tk::Toolkit::Get().DoEvents();
    stopped = WaitingForReader != rt::False && stop();
  }
  if (auto_ms >= 0) form.Timer2.SetEnabled(false);
  ReadAloud::Stop();
  return stopped;
}

// The music after the pages passed over: the last tune they named (none: the
// story's start), unless it plays already and its file is as it was.
void Retune(const std::string& tune) {
  script::StoryWatcher* watch = Wired().start.watch;
  if (tune == VN_Midi::CurrentTune && !(watch && watch->Touched(tune))) return;
  VN_Midi::StopMidi();
  VN_Midi::CurrentTune = tune;
}

// Plays the script; pages that end before line `from` are passed over
// without being shown or waited on, their commands carried out (music only
// once, at the first page shown). Returns 0 when the story ends, or the first
// line of the page showing when it is to be built again (--watch).
long Play(script::ScriptReader& reader, long from, Page& page) {
  using Kind = script::Command::Kind;
  Form1& form = Forms::Form1();
  script::StoryWatcher* watch = Wired().start.watch;
  std::string tune;  // while passing over pages: the last tune they named
  for (;;) {
    // Show the page and wait for the reader.
    const long first = reader.line_number();
    page.text = reader.GatherPage();
    const long last = reader.ended() ? reader.line_number() : reader.line_number() - 1;
    if (last >= from) {
      if (from > 0) Retune(tune);
      from = 0;
      page.caption = rt::ToUtf8(page.text);
      form.Label1.SetCaption(page.caption);
      if (!page.caption.empty()) WaitingForReader = rt::True;
      const auto changed = [&] { return watch && watch->Changed(first); };
      if (WaitForReader(form, page, changed)) return first;
    } else if (rt::QuitAsked()) {
      throw rt::ProcessEnd();  // passing over a long script: a signal ends it now, not at the first page
    }
    if (reader.ended()) return 0;

    // Carry out the command that ended the page.
    const script::Command command = script::ParseLine(reader.current());
    if (command.kind == Kind::kMusic && from > 0) {
      tune = command.name;
    } else if (command.kind == Kind::kMusic) {
      VN_Midi::StopMidi();
      VN_Midi::CurrentTune = command.name;
    } else if (command.kind == Kind::kPicture) {
      form.Image1.SetPicture(tk::LoadPicture(command.name), command.name);
    } else if (command.kind == Kind::kSpeaker) {
      if (!command.speaker) rt::Raise(rt::kOverflow);
      const rt::Integer k = *command.speaker;
      if (!IsSpeaker(k)) rt::Raise(rt::kSubscriptOutOfRange);
      form.Image2.SetPicture(form.Image4[k].GetPicture(), "Image4(" + std::to_string(k) + ")");
      page.speaker = kSpeakers[k];
      form.Label2.SetCaption(page.speaker);
    }
    if (!reader.Advance(command)) return 0;
  }
}

}  // namespace

void PlayScript() {
  Forms::Form1().Show();
  Page page;
  for (long from = Wired().start.line, round = 0;; ++round) {
    // Built again after a change: from the bytes the watcher checked.
    script::StoryWatcher* watch = Wired().start.watch;
    rt::TextInput file =
        round > 0 && watch ? rt::TextInput::FromBytes(watch->script(), kScriptFile) : rt::TextInput(kScriptFile);
    try {
      script::ScriptReader reader(file);
      from = Play(reader, from, page);
    } catch (rt::RuntimeError& e) {
      e.AddFileLine(kScriptFile, file.line_number());  // unless reading the script itself failed
      throw;
    }
    if (!from) return;
    // The script changed: the page showing is built again, from the top.
    WaitingForReader = rt::False;
    ClearScene(Forms::Form1(), page);
  }
}

}  // namespace Module1
