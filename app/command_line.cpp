#include "app/command_line.h"

#include <getopt.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/sdl/display_scale.h"
#include "runtime/notice.h"
#include "runtime/whole_number.h"

namespace app {
namespace {

using rt::kProgramName;

constexpr int kLongestAutoSeconds = 3600;

void Help(std::FILE* out) {
  std::fprintf(out,
               "Usage: %s [OPTION]... [STORY_FOLDER]\n"
               "Play the illustrated story in STORY_FOLDER (the current directory by default):\n"
               "an intro, the story page by page, and the staff screen.\n"
               "\n"
               "      --auto[=SECONDS]\n"
               "                    turn each page by itself once it has been read (a time\n"
               "                    from its length), or after SECONDS; a key or click still\n"
               "                    turns it at once\n"
               "      --check       check the story's script and files instead of playing it;\n"
               "                    list every problem as FILE:LINE:COLUMN: error|warning: ...\n"
               "                    (a script in UTF-8 or with LF line ends included)\n"
               "      --effects-volume=PERCENT\n"
               "                    the sound effects' volume, from 0 (silent) to 100 (the default)\n"
               "      --from=LINE   skip the intro and start at the page that holds line LINE of\n"
               "                    the script, with every command before it carried out\n"
               "      --fullscreen  start in full screen (F11 or Alt+Enter toggles it)\n"
               "      --music-volume=PERCENT\n"
               "                    the music's volume, from 0 (silent, and no music is\n"
               "                    synthesised) to 100 (the default)\n"
               "      --resume      start at the page showing when the story window was last\n"
               "                    closed before the end (kept for each story folder under\n"
               "                    $XDG_STATE_HOME/radaded2k); the story's start when none is\n"
               "      --scale=N     show the windows N times larger (1 to 4; by default the\n"
               "                    display's own scale: GDK_SCALE, Xft.dpi or its resolution)\n"
               "      --speak       read each page aloud, after the speaker's name, through\n"
               "                    speech-dispatcher (in Japanese)\n"
               "      --text-hook   write each page, as it is shown, to standard output in UTF-8:\n"
               "                    the speaker's name on a line, the page, an empty line\n"
               "      --trace=FILE  append a trace of every window, property, sound and input\n"
               "                    event to FILE, one JSON object a line (a relative FILE is\n"
               "                    taken from where the program starts, not the story folder)\n"
               "      --watch       when the script, or a picture or tune it names, changes,\n"
               "                    build the page showing again from the new script (a script\n"
               "                    with an error keeps the page and prints what --check finds)\n"
               "  -h, --help        display this help and exit\n"
               "      --version     output version information and exit\n"
               "\n"
               "Release any key, click the page-turn icon, or turn the mouse wheel down, to turn a\n"
               "page. PageUp, the wheel turned up, or a controller's left shoulder button goes\n"
               "back a page; Ctrl+C copies the page to the clipboard; F11 or Alt+Enter toggles\n"
               "full screen. Every other key released turns the page.\n"
               "Files are found as Windows left them: in any letter case, with \\ between\n"
               "folders, or named in code page 932 bytes; a tune may be wrapped in RIFF (RMID).\n"
               "Exit status: 0 when the story played (or checked) to the end, 1 after a run-time\n"
               "error (or errors found by --check), 2 when the command line is wrong.\n",
               kProgramName);
}

void Version(std::FILE* out) {
  std::fprintf(out,
               "%s (Radaded 2K) %s\n"
               "This is free software: you are free to change and redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n",
               kProgramName, RADADED_VERSION);
}

int Wrong(std::FILE* err, const std::string& what) {
  std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", kProgramName, what.c_str(), kProgramName);
  return 2;
}

// A relative path is taken from where the program was started, not from the
// story folder it then changes into.
std::string FromStart(const char* path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec || !*path ? path : absolute.string();
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, char** argv, Options& options, std::FILE* out, std::FILE* err) {
  enum { kCheck = 256, kTrace, kVersion, kScale, kFrom, kWatch, kFullScreen, kAuto, kSpeak, kResume, kTextHook,
         kMusicVolume, kEffectsVolume };
  static const option kLong[] = {{"check", no_argument, nullptr, kCheck},
                                 {"auto", optional_argument, nullptr, kAuto},
                                 {"speak", no_argument, nullptr, kSpeak},
                                 {"resume", no_argument, nullptr, kResume},
                                 {"text-hook", no_argument, nullptr, kTextHook},
                                 {"music-volume", required_argument, nullptr, kMusicVolume},
                                 {"effects-volume", required_argument, nullptr, kEffectsVolume},
                                 {"trace", required_argument, nullptr, kTrace},
                                 {"scale", required_argument, nullptr, kScale},
                                 {"from", required_argument, nullptr, kFrom},
                                 {"watch", no_argument, nullptr, kWatch},
                                 {"fullscreen", no_argument, nullptr, kFullScreen},
                                 {"help", no_argument, nullptr, 'h'},
                                 {"version", no_argument, nullptr, kVersion},
                                 {nullptr, 0, nullptr, 0}};
  optind = 0;  // a fresh scan, even when called again
  opterr = 0;  // the messages are ours
  for (;;) {
    const int c = getopt_long(argc, argv, "+h", kLong, nullptr);
    if (c == -1) break;
    switch (c) {
      case kCheck: options.check = true; break;
      case kFullScreen: options.full_screen = true; break;
      case kTrace: options.trace = FromStart(optarg); break;
      case kScale: {
        const std::string n = optarg;
        if (n.size() != 1 || n[0] < '1' || n[0] > '0' + sdl::kMaxDisplayScale)
          return Wrong(err, "invalid scale '" + n + "' (a whole factor from 1 to " +
                                std::to_string(sdl::kMaxDisplayScale) + ")");
        options.scale = n[0] - '0';
        break;
      }
      case kFrom: {
        const auto line = rt::WholeNumber(optarg);
        if (!line || *line < 1) return Wrong(err, std::string("invalid line '") + optarg + "' (a line of the script, from 1)");
        options.from = *line;
        break;
      }
      case kWatch: options.watch = true; break;
      case kAuto: {
        if (!optarg) {
          options.auto_turn_ms = 0;
          break;
        }
        char* end = nullptr;
        errno = 0;
        const double seconds = std::strtod(optarg, &end);
        if (errno || end == optarg || *end || !(seconds >= 0.1 && seconds <= kLongestAutoSeconds))
          return Wrong(err, std::string("invalid time '") + optarg + "' (seconds, from 0.1 to " +
                                std::to_string(kLongestAutoSeconds) + ")");
        options.auto_turn_ms = static_cast<int>(seconds * 1000 + 0.5);
        break;
      }
      case kSpeak: options.speak = true; break;
      case kResume: options.resume = true; break;
      case kTextHook: options.text_hook = true; break;
      case kMusicVolume:
      case kEffectsVolume: {
        const auto percent = rt::WholeNumber(optarg);
        if (!percent || *percent > 100)
          return Wrong(err, std::string("invalid volume '") + optarg + "' (a percentage, from 0 to 100)");
        (c == kMusicVolume ? options.music_volume : options.effects_volume) = static_cast<int>(*percent);
        break;
      }
      case 'h': Help(out); return 0;
      case kVersion: Version(out); return 0;
      case '?':
        // A long option given an argument it does not take, or without one it needs.
        for (const option& o : kLong)
          if (o.name && o.val >= kCheck && o.val == optopt)
            return Wrong(err, std::string("option '--") + o.name +
                                  (o.has_arg == required_argument ? "' requires an argument" : "' doesn't allow an argument"));
        if (optopt) return Wrong(err, std::string("invalid option -- '") + static_cast<char>(optopt) + "'");
        return Wrong(err, std::string("unrecognized option '") + argv[optind - 1] + "'");
      default: return Wrong(err, "unrecognized option");
    }
  }
  if (options.check) {
    const char* playing = options.from        ? "--from"
                          : options.watch     ? "--watch"
                          : options.resume    ? "--resume"
                          : options.text_hook ? "--text-hook"
                                              : nullptr;
    if (playing) return Wrong(err, std::string("--check plays nothing: it takes no ") + playing);
  }
  if (options.resume && options.from) return Wrong(err, "--resume and --from both say where to start: give one");
  if (const char* env = std::getenv("RADADED_TRACE"); options.trace.empty() && env) options.trace = FromStart(env);
  if (optind < argc) options.folder = argv[optind++];
  if (optind < argc) return Wrong(err, std::string("extra operand '") + argv[optind] + "'");
  if (!options.folder.empty()) {
    struct stat st {};
    if (::stat(options.folder.c_str(), &st) != 0)
      return Wrong(err, "cannot open story folder '" + options.folder + "': " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return Wrong(err, "'" + options.folder + "' is not a folder");
  }
  return std::nullopt;
}

}  // namespace app
