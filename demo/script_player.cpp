#include "demo/script_player.h"

#include <array>
#include <functional>
#include <memory>
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
#include "demo/text_hook.h"
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

// How the wait on a page ended.
enum class Wait {
  kTurned,   // the reader turned it (or it has no text: no wait)
  kBack,     // the reader asked for the page before
  kChanged,  // the story's files changed: the page is to be built again
};

// The wait on a page shown: while the flag is set, yields to the window
// system; meanwhile the page is read aloud and turns by itself, when those
// are on. `stop`, asked after each yield, ends the wait early with the flag
// still set.
Wait WaitForReader(Form1& form, const Page& page, const std::function<bool()>& stop) {
  ReaderGoesBack = false;
  if (WaitingForReader == rt::False) return Wait::kTurned;
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
  return stopped ? Wait::kChanged : ReaderGoesBack ? Wait::kBack : Wait::kTurned;
}

// The music after the pages passed over: the last tune they named, unless it
// plays already and its file is as it was. None: the story's start, where
// the story tune plays once.
void Retune(const std::string& tune) {
  script::StoryWatcher* watch = Wired().start.watch;
  if (tune == VN_Midi::CurrentTune && !(watch && watch->Touched(tune))) return;
  VN_Midi::StopMidi();
  VN_Midi::CurrentTune = tune;
  if (tune.empty()) VN_Midi::PlayMidi(kStoryTune);
}

// Where the story is built again, from the top of its script: at the first
// line of the page showing, after the story's files changed (--watch), or of
// the page before it, when the reader went back. Line 0: the story ended.
struct Rebuild {
  long line = 0;
  bool changed = false;
};

// Plays the script; pages that end before line `from` are passed over
// without being shown or waited on, their commands carried out (music only
// once, at the first page shown).
Rebuild Play(script::ScriptReader& reader, long from, Page& page) {
  using Kind = script::Command::Kind;
  Form1& form = Forms::Form1();
  script::StoryWatcher* watch = Wired().start.watch;
  std::string tune;  // while passing over pages: the last tune they named
  long before = 0;   // the first line of the last page with text before this one
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
      if (!page.caption.empty()) {
        WaitingForReader = rt::True;
        if (ReaderPlace* place = Wired().place) place->line = first;
        TextHook::Page(page.speaker, page.caption);
      }
      const auto changed = [&] { return watch && watch->Changed(first); };
      for (Wait wait; (wait = WaitForReader(form, page, changed)) != Wait::kTurned;) {
        if (wait == Wait::kChanged) return {first, true};
        if (before) return {before, false};
        WaitingForReader = rt::True;  // the first page: there is none before it
      }
    } else if (rt::QuitAsked()) {
      throw rt::ProcessEnd();  // passing over a long script: a signal ends it now, not at the first page
    }
    if (!page.text.empty()) before = first;
    if (reader.ended()) return {};

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
    if (!reader.Advance(command)) return {};
  }
}

}  // namespace

void PlayScript() {
  Forms::Form1().Show();
  Page page;
  // The script's bytes as the story plays them: read once, and after a
  // change those the watcher checked.
  std::shared_ptr<const std::string> script;
  for (long from = Wired().start.line;;) {
    rt::TextInput file = script ? rt::TextInput::FromShared(script, kScriptFile) : rt::TextInput(kScriptFile);
    script = file.bytes();
    Rebuild rebuild;
    try {
      script::ScriptReader reader(file);
      rebuild = Play(reader, from, page);
    } catch (rt::RuntimeError& e) {
      e.AddFileLine(kScriptFile, file.line_number());  // unless reading the script itself failed
      throw;
    }
    if (!rebuild.line) break;
    if (rebuild.changed) script = std::make_shared<const std::string>(Wired().start.watch->script());
    from = rebuild.line;
    WaitingForReader = rt::False;
    ClearScene(Forms::Form1(), page);
  }
  if (ReaderPlace* place = Wired().place) place->ended = true;
}

}  // namespace Module1
