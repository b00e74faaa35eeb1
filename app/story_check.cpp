#include "app/story_check.h"

#include <algorithm>
#include <optional>
#include <string>

#include "demo/form1.h"
#include "demo/script_line.h"
#include "demo/script_player.h"
#include "demo/script_reader.h"
#include "demo/speakers.h"
#include "demo/story_files.h"
#include "platform/sdl/form_renderer.h"
#include "runtime/file_names.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"
#include "sound/fluid_midi_device.h"
#include "sound/midi_file_check.h"
#include "sound/mixer_effect_player.h"
#include "sound/wav_check.h"
#include "toolkit/decoder_process.h"
#include "toolkit/picture_format.h"

namespace app {
namespace {

class Checker {
 public:
  CheckResult result;

  void Error(long line, long column, std::string text) { Add(kScriptFile, line, column, true, std::move(text)); }
  void Warning(long line, long column, std::string text) { Add(kScriptFile, line, column, false, std::move(text)); }
  void Add(std::string file, long line, long column, bool error, std::string text) {
    result.findings.push_back({std::move(file), line, column, error, std::move(text)});
  }

  void Check() {
    const auto path = tk::ResolveName(kScriptFile);
    std::vector<unsigned char> bytes;
    const int error = path ? tk::ReadRegularFile(*path, tk::TextInput::kMaxFileBytes, bytes) : tk::kFileNotFound;
    if (error) {
      Add(kScriptFile, 0, 0, true, "cannot read the script: " + tk::StandardDescription(error));
      return;
    }
    const std::string text(bytes.begin(), bytes.end());
    if (text.find('\n') != std::string::npos && text.find('\r') == std::string::npos) {
      Error(1, 1,
            "the lines end with LF alone, and a line ends only at CR or CR LF here: the whole file reads as one "
            "line; save it with CR LF line ends (for example with unix2dos)");
      return;
    }
    ScanLines(text);
    Walk(text);
  }

  void CheckFixedFiles() {
    for (const char* tune : {kIntroTune, kStoryTune, kClosingTune})
      if (const auto problem = TuneProblem(tune)) Add(tune, 0, 0, false, *problem);
    const auto wav = tk::ReadNamedFile(kIntroEffect, sound::MixerEffectPlayer::kMaxFileBytes);
    if (!wav) Add(kIntroEffect, 0, 0, false, "not found: the intro's sound effect is silent");
    else if (!sound::CheckWav(*wav)) Add(kIntroEffect, 0, 0, false, "not a sound effect the program plays: silent");
  }

 private:
  // Bytes that are no code page 932 text, in every line.
  void ScanLines(const std::string& text) {
    auto in = tk::TextInput::FromBytes(text, kScriptFile);
    while (!in.Eof()) {
      const std::u32string line = in.LineInput();
      const auto bad = line.find(U'\uFFFD');
      if (bad != std::u32string::npos)
        Warning(in.line_number(), static_cast<long>(bad) + 1,
                "a byte that is no code page 932 text (shown as a replacement character)");
    }
  }

  static std::optional<std::string> TuneProblem(const std::string& name) {
    const auto bytes = tk::ReadNamedFile(name, sound::FluidMidiDevice::kMaxFileBytes);
    if (!bytes) return "tune \"" + name + "\" not found: the music is silent";
    if (!sound::NormaliseMidi(*bytes)) return "\"" + name + "\" is not a MIDI file the synthesiser plays: the music is silent";
    return std::nullopt;
  }

  static std::optional<std::string> PictureProblem(const std::string& name) {
    const auto path = tk::ResolveName(name);
    if (!path) return "picture \"" + name + "\" not found";
    std::vector<unsigned char> bytes;
    if (const int error = tk::ReadRegularFile(*path, tk::kMaxPictureFileBytes, bytes))
      return "cannot read picture \"" + name + "\": " + tk::StandardDescription(error);
    // The header decides most refusals; what passes it is decoded as the player would.
    if (!tk::PassesPictureChecks(bytes) || !tk::DecodeInHelper(bytes))
      return "\"" + name + "\" is not a picture the program shows (BMP, GIF, JPEG, PNG or ICO, undamaged, " +
             "at most 4096 pixels a side)";
    return std::nullopt;
  }

  // The line a run-time error names, as the player reports it.
  static long LineOf(tk::RuntimeError e, long current) {
    e.AddFileLine(kScriptFile, current);
    return e.line();
  }

  bool PageFits(const std::u32string& page) {
    tk::Label label;
    Form1::DesignPageLabel(label);
    label.caption = tk::ToUtf8(page);
    return renderer_.CaptionFits(label);
  }

  // Goes through the script as the player does, with the player's reader.
  void Walk(const std::string& text) {
    auto in = tk::TextInput::FromBytes(text, kScriptFile);
    std::optional<script::ScriptReader> reader;
    try {
      reader.emplace(in);
    } catch (const tk::RuntimeError&) {
      Error(1, 0, "the script is empty: it needs at least one line, and #ENDI last");
      return;
    }
    // After a command: the next non-empty line, which must be there.
    const auto skip = [&](const std::u32string& word) {
      const long at = reader->line_number();
      try {
        reader->SkipEmptyLines();
        return true;
      } catch (const tk::RuntimeError& e) {
        Error(LineOf(e, at), 0, "the story reads past the end of the file: a " + tk::ToUtf8(word) +
                                    " line needs a non-empty line after it (end the script with #ENDI)");
        return false;
      }
    };
    for (;;) {
      const long first = reader->line_number();
      std::u32string page;
      try {
        page = reader->GatherPage();
      } catch (const tk::RuntimeError& e) {
        const long line = LineOf(e, reader->line_number());
        if (e.number() == tk::kOverflow)
          Error(line, 0, "a line of " + std::to_string(reader->current().size()) +
                             " characters: the program counts in 16 bits, and stops at 32767");
        else
          Error(line, 0, "the story reads past the end of the file: its last text line is taken into a page "
                         "(end the script with #ENDI)");
        return;
      }
      if (!page.empty()) {
        ++result.pages;
        const auto first_end = page.find(U"\r\n");
        if (first_end > static_cast<std::size_t>(script::kPageBudget))
          Warning(first, 0, "a text line of " + std::to_string(first_end) + " characters, longer than a page (" +
                                std::to_string(script::kPageBudget) + "): it is shown as a page of its own");
        else if (!PageFits(page))
          Warning(first, 0, "this page's text does not fit the page label: its last rows are cut off");
      }
      if (reader->ended()) return;

      const std::u32string line = reader->current();
      const long at = reader->line_number();
      const std::u32string word = script::CommandWord(line);
      if (word == U"#PAGE") {
        if (!skip(word)) return;
      } else if (word == U"#MIDI") {
        const std::string name = tk::ToUtf8(script::MidiName(line));
        if (!name.empty())
          if (const auto problem = TuneProblem(name)) Warning(at, 8, *problem);
        if (!skip(word)) return;
      } else if (word == U"#PICT") {
        const std::string name = tk::ToUtf8(script::PictureName(line));
        if (!name.empty())
          if (const auto problem = PictureProblem(name)) Error(at, 11, *problem);
        if (!skip(word)) return;
      } else if (word == U"#ICON") {
        try {
          const tk::Integer k = script::SpeakerNumber(line);
          if (k < 0 || k > kLastSpeaker)
            Error(at, 7, "speaker " + std::to_string(k) + ": the speakers are 0 (nobody) to " +
                             std::to_string(kLastSpeaker));
        } catch (const tk::RuntimeError&) {
          Error(at, 7, "the speaker number lies outside the 16-bit range");
        }
        if (!skip(word)) return;
      } else if (word == U"#ENDI") {
        if (!reader->AtEnd()) Warning(at + 1, 0, "lines after #ENDI are never read");
        return;
      } else if (script::IsCommand(line) && !reader->AtEnd()) {
        Error(at, 1, "unknown command word \"" + tk::ToUtf8(word) +
                         "\" (the commands are #PAGE, #MIDI, #PICT, #ICON and #ENDI)");
        return;
      }
      if (reader->AtEnd()) {
        if (reader->line_number() > at && !script::IsCommand(reader->current()))
          Warning(reader->line_number(), 0, "no #ENDI: the story ends at the end of the file, and this last line "
                                            "is never shown");
        else
          Warning(at, 0, "no #ENDI: the story ends at the end of the file");
        return;
      }
    }
  }

  tk::FormRenderer renderer_;
};

}  // namespace

bool CheckResult::HasError() const {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.error; });
}

CheckResult CheckStory() {
  Checker checker;
  checker.Check();
  checker.CheckFixedFiles();
  auto& findings = checker.result.findings;
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file == kScriptFile : a.line < b.line;
  });
  return std::move(checker.result);
}

int PrintCheck(const CheckResult& result, std::FILE* out) {
  long errors = 0, warnings = 0;
  for (const Finding& f : result.findings) {
    std::string place = f.file;
    if (f.line > 0) place.append(":").append(std::to_string(f.line));
    if (f.line > 0 && f.column > 0) place.append(":").append(std::to_string(f.column));
    std::fprintf(out, "%s: %s: %s\n", place.c_str(), f.error ? "error" : "warning", f.text.c_str());
    ++(f.error ? errors : warnings);
  }
  const auto count = [](long n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  std::fprintf(out, "%s: %s, %s, %s\n", kScriptFile, count(result.pages, "page").c_str(),
               count(errors, "error").c_str(), count(warnings, "warning").c_str());
  return errors > 0 ? 1 : 0;
}

}  // namespace app
