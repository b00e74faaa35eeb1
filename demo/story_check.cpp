#include "demo/story_check.h"

#include <algorithm>
#include <optional>

#include "demo/form1.h"
#include "demo/script_line.h"
#include "demo/script_reader.h"
#include "demo/speakers.h"
#include "demo/story_files.h"
#include "demo/utf8_script.h"
#include "picture/decoder_process.h"
#include "picture/picture_format.h"
#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"
#include "runtime/text_input.h"
#include "runtime/utf.h"
#include "sound/format/story_sound.h"
#include "toolkit/picture_loader.h"

namespace script {
namespace {

using Kind = Command::Kind;

class Checker {
 public:
  explicit Checker(const CaptionFits& fits) : fits_(fits) {}

  CheckResult result;

  void Check() {
    const auto path = rt::ResolveName(kScriptFile);
    std::vector<unsigned char> bytes;
    const int error = path ? rt::ReadRegularFile(*path, rt::TextInput::kMaxFileBytes, bytes) : rt::kFileNotFound;
    if (error) {
      Add(kScriptFile, 0, 0, true, "cannot read the script: " + rt::StandardDescription(error));
      return;
    }
    const std::string text(bytes.begin(), bytes.end());
    result.script = text;
    const bool lf = text.find('\n') != std::string::npos && text.find('\r') == std::string::npos;
    if (lf)
      Error(1, 1,
            "the lines end with LF alone, and a line ends only at CR or CR LF here: the whole file reads as one "
            "line; save it with CR LF line ends (for example with unix2dos)");
    const auto utf8 = FindUtf8Script(text);
    if (utf8 && utf8->byte_order_mark)
      Error(1, 1,
            "the script is UTF-8 (it begins with a UTF-8 byte-order mark), and it is read as code page 932: its text "
            "shows garbled; remove the mark and convert it, for example with "
            "sed '1s/^\\xEF\\xBB\\xBF//' Rodevez2E.dat | iconv -f UTF-8 -t CP932");
    else if (utf8)
      Error(utf8->line, utf8->column,
            "the script is UTF-8, and it is read as code page 932: its text shows garbled from here; convert it, "
            "for example with iconv -f UTF-8 -t CP932");
    if (lf || utf8) return;
    ScanLines(text);
    Walk(text);
  }

  void CheckFixedFiles() {
    for (const char* tune : {kIntroTune, kStoryTune, kClosingTune})
      if (const auto problem = TuneProblem(tune)) Add(tune, 0, 0, false, *problem);
    const auto effect = sound::ReadEffect(kIntroEffect);
    if (!effect.found) Add(kIntroEffect, 0, 0, false, "not found: the intro's sound effect is silent");
    else if (!effect.playable) Add(kIntroEffect, 0, 0, false, "not a sound effect the program plays: silent");
  }

 private:
  void Error(long line, long column, std::string text) { Add(kScriptFile, line, column, true, std::move(text)); }
  void Warning(long line, long column, std::string text) { Add(kScriptFile, line, column, false, std::move(text)); }
  void Add(std::string file, long line, long column, bool error, std::string text) {
    result.findings.push_back({std::move(file), line, column, error, std::move(text)});
  }

  // Bytes that are no code page 932 text, in every line.
  void ScanLines(const std::string& text) {
    auto in = rt::TextInput::FromBytes(text, kScriptFile);
    while (!in.Eof()) {
      const std::u32string line = in.LineInput();
      const auto bad = line.find(U'\uFFFD');
      if (bad != std::u32string::npos)
        Warning(in.line_number(), static_cast<long>(bad) + 1,
                "a byte that is no code page 932 text (shown as a replacement character)");
    }
  }

  static std::optional<std::string> TuneProblem(const std::string& name) {
    const auto tune = sound::ReadTune(name);
    if (!tune.found) return "tune \"" + name + "\" not found: the music is silent";
    if (!tune.playable) return "\"" + name + "\" is not a MIDI file the synthesiser plays: the music is silent";
    return std::nullopt;
  }

  // Loads the picture as the player does.
  std::optional<std::string> PictureProblem(const std::string& name) {
    try {
      tk::LoadPicture(name);
      return std::nullopt;
    } catch (const rt::RuntimeError& e) {
      if (e.where() == pic::PictureDecoderPath()) {
        // The helper's fault, not the picture's: said once, naming the helper.
        if (!helper_reported_)
          Add(e.where(), 0, 0, true, "the picture decoder cannot be started (" + e.description() +
                                         "): a picture would end the story; pictures are checked by their headers only");
        helper_reported_ = true;
        return std::nullopt;
      }
      if (e.number() == rt::kFileNotFound) return "picture \"" + name + "\" not found";
      if (e.number() != rt::kInvalidPicture) return "cannot read picture \"" + name + "\": " + e.description();
      return "\"" + name + "\" is not a picture the program shows (BMP, GIF, JPEG, PNG or ICO, undamaged, " +
             "at most " + std::to_string(pic::kMaxPictureSide) + " pixels a side and " +
             std::to_string(pic::kMaxPicturePixels) + " (4 million) in all)";
    }
  }

  bool PageFits(const std::u32string& page) {
    tk::Label label;
    Form1::DesignPageLabel(label, rt::ToUtf8(page));
    return fits_(label);
  }

  void CheckPage(const std::u32string& page, long first, const ScriptReader& reader) {
    if (page.empty()) return;
    ++result.pages;
    if (reader.long_line())
      Warning(first, 0, "a text line of " + std::to_string(page.size() - 2) + " characters, longer than a page (" +
                            std::to_string(kPageBudget) + "): it is shown as a page of its own");
    else if (!PageFits(page))
      Warning(first, 0, "this page's text does not fit the page label: its last rows are cut off");
  }

  // What the player would do with the line that ended a page.
  void CheckCommand(const Command& command, long at) {
    if ((command.kind == Kind::kMusic || command.kind == Kind::kPicture) && !command.name.empty())
      result.files.push_back(command.name);
    if (command.kind == Kind::kMusic && !command.name.empty()) {
      if (const auto problem = TuneProblem(command.name)) Warning(at, kMusicColumn, *problem);
    } else if (command.kind == Kind::kPicture && !command.name.empty()) {
      if (const auto problem = PictureProblem(command.name)) Error(at, kPictureColumn, *problem);
    } else if (command.kind == Kind::kSpeaker && !command.speaker) {
      Error(at, kSpeakerColumn, "the speaker number lies outside the 16-bit range");
    } else if (command.kind == Kind::kSpeaker && !IsSpeaker(*command.speaker)) {
      Error(at, kSpeakerColumn, "speaker " + std::to_string(*command.speaker) + ": the speakers are 0 (nobody) to " +
                                    std::to_string(kLastSpeaker));
    }
  }

  // Where and why the story ends without a failure.
  void CheckEnd(const Command& command, long at, ScriptReader& reader) {
    if (command.kind == Kind::kEnd) {
      if (!reader.AtEnd()) Warning(at + 1, 0, "lines after #ENDI are never read");
    } else if (reader.line_number() > at && ParseLine(reader.current()).kind == Kind::kEnd) {
      // The file's last line, an #ENDI read after a command: the story ends
      // there, as at an #ENDI.
    } else if (const long never = reader.NeverShown(command, at)) {
      Warning(never, 0, "no #ENDI: the story ends at the end of the file, and this last line is never shown");
    } else {
      Warning(at, 0, "no #ENDI: the story ends at the end of the file");
    }
  }

  // Goes through the script with the player's reader, page by page.
  void Walk(const std::string& text) {
    auto in = rt::TextInput::FromBytes(text, kScriptFile);
    // The line a failure names, as the player's report does.
    const auto line_of = [&](rt::RuntimeError& e) {
      e.AddFileLine(kScriptFile, in.line_number());
      return e.line();
    };
    std::optional<ScriptReader> reader;
    try {
      reader.emplace(in);
    } catch (const rt::RuntimeError&) {
      Error(1, 0, "the script is empty: it needs at least one line, and #ENDI last");
      return;
    }
    for (;;) {
      const long first = reader->line_number();
      try {
        CheckPage(reader->GatherPage(), first, *reader);
      } catch (rt::RuntimeError& e) {
        if (e.number() == rt::kOverflow)
          Error(line_of(e), 0, "a line of " + std::to_string(reader->current().size()) +
                                   " characters: the program counts in 16 bits, and stops at 32767");
        else
          Error(line_of(e), 0, "the story reads past the end of the file: its last text line is taken into a page "
                               "(end the script with #ENDI)");
        return;
      }
      if (reader->ended()) return;

      const long at = reader->line_number();
      const Command command = ParseLine(reader->current());
      CheckCommand(command, at);
      bool goes_on = false;
      try {
        goes_on = reader->Advance(command);
      } catch (rt::RuntimeError& e) {
        if (e.number() == rt::kInvalidProcedureCall)
          Error(line_of(e), 1, "unknown command word \"" + command.word +
                                   "\" (the commands are #PAGE, #MIDI, #PICT, #ICON and #ENDI)");
        else
          Error(line_of(e), 0, "the story reads past the end of the file: a " + command.word +
                                   " line needs a non-empty line after it (end the script with #ENDI)");
        return;
      }
      if (!goes_on) {
        CheckEnd(command, at, *reader);
        return;
      }
    }
  }

  const CaptionFits& fits_;
  bool helper_reported_ = false;
};

}  // namespace

bool CheckResult::HasError() const {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.error; });
}

CheckResult CheckStory(const CaptionFits& fits) {
  Checker checker(fits);
  checker.Check();
  checker.CheckFixedFiles();
  auto& findings = checker.result.findings;
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file == kScriptFile : a.line < b.line;
  });
  return std::move(checker.result);
}

}  // namespace script
