// The real program, given one bad file at a time in a short story of its own
// (no window system and no sound card: SDL's dummy drivers). Each case must
// end in the program's own report naming the file (and, for the script, the
// line) or play on, within seconds: never a crash, a hang or silence.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"
#include "support/test_name.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
const fs::path kStory = RADADED_SOURCE_DIR "/story";
const fs::path kRegressions = RADADED_SOURCE_DIR "/tests/regressions";

enum class Outcome {
  kEnds,     // plays to the end of the credits, status 0
  kPlaysOn,  // shows a page or the credits and waits there (the test then stops it)
  kReport,   // ends with a run-time error report, status 1
};

struct Case {
  const char* what;
  std::string script;  // bytes of Rodevez2E.dat; "" with no_script leaves it out
  Outcome outcome;
  int error = 0;
  std::string where = "";  // what the report must name
  std::function<void(const fs::path&)> setup = nullptr;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
const std::string kEnd = "#ENDI";
const std::string kScript = "Rodevez2E.dat";
std::string Picture(const std::string& name) { return "#PICT    \"" + name + "\"\r\n"; }

// Half a second of one note: the credits end soon after they start.
const std::string kShortTune = std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xe0", 14) +
                               std::string("MTrk\0\0\0\x0d\x00\x90\x3c\x64\x83\x60\x80\x3c\x00\x00\xff\x2f\x00", 21);

// Whether the trace has the page label showing some text.
bool ShowsText(const std::string& trace) {
  const std::string caption = "\"Label1\",\"prop\":\"Caption\",\"value\":\"";
  for (auto at = trace.find(caption); at != std::string::npos; at = trace.find(caption, at + 1))
    if (trace[at + caption.size()] != '"') return true;
  return false;
}

struct Result {
  int status = -1;  // exit status, or -1 when it played on and was stopped
  std::string report;
  std::string output;
};

const fs::path kBuiltProgram = fs::read_symlink("/proc/self/exe").parent_path() / "radaded2k";

// Runs the program in the story folder `dir`, with `option` when given.
Result RunProgram(const fs::path& dir, const fs::path& program = kBuiltProgram, const char* option = nullptr) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, (dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, (dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const std::string trace = "RADADED_TRACE=" + (dir / "trace.jsonl").string();
  std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "RADADED_NO_MESSAGE_BOX=1",
                                  "ASAN_OPTIONS=detect_leaks=0", trace};
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(option), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  Result result;
  if (spawned != 0) return result;
  const auto start = std::chrono::steady_clock::now();
  std::optional<std::chrono::steady_clock::time_point> page_shown;
  int status = 0;
  for (;;) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!page_shown && ShowsText(Slurp(dir / "trace.jsonl"))) page_shown = now;
    // Playing on: a page or the credits shown, and still running a second later.
    if ((page_shown && now - *page_shown > 1500ms) || now - start > 30s) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.status = page_shown ? -1 : -2;  // -2: neither ended nor showed anything
      break;
    }
    std::this_thread::sleep_for(50ms);
  }
  result.report = Slurp(dir / "stderr.txt");
  result.output = Slurp(dir / "stdout.txt");
  return result;
}

// The fixed files of a short story, and its script.
void WriteStory(const fs::path& dir, const std::string& script) {
  for (const char* f : {"Zirev.mid", "enka.mid", "vmdemo3.WAV", "office.bmp"}) fs::copy_file(kStory / f, dir / f);
  Write(dir / "lmb.mid", kShortTune);
  Write(dir / "Rodevez2E.dat", script);
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, EndsWithAReportOrPlaysOn) {
  const Case& c = GetParam();
  testing_support::TempDir dir("bad_input");
  WriteStory(dir.path(), c.script);
  if (c.outcome == Outcome::kReport && c.error == 53 && c.where == kScript) fs::remove(dir.path() / kScript);
  if (c.setup) c.setup(dir.path());
  const Result r = RunProgram(dir.path());
  switch (c.outcome) {
    case Outcome::kEnds: EXPECT_EQ(r.status, 0) << r.report; break;
    case Outcome::kPlaysOn: EXPECT_EQ(r.status, -1) << r.report; break;
    case Outcome::kReport: {
      EXPECT_EQ(r.status, 1) << r.report;
      const std::string expected = "run-time error " + std::to_string(c.error) + ":";
      EXPECT_NE(r.report.find(expected), std::string::npos) << r.report;
      EXPECT_NE(r.report.find(c.where), std::string::npos) << "names " << c.where << ": " << r.report;
    }
  }
}

std::string RandomBytes(std::size_t n) {
  std::mt19937 rng(6);
  std::string s(n, '\0');
  for (char& ch : s) ch = static_cast<char>(rng());
  return s;
}

std::function<void(const fs::path&)> File(const std::string& name, const std::string& bytes) {
  return [=](const fs::path& d) { Write(d / name, bytes); };
}
std::function<void(const fs::path&)> Regression(const std::string& name, const std::string& from) {
  return [=](const fs::path& d) { fs::copy_file(kRegressions / from, d / name, fs::copy_options::overwrite_existing); };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        // The script (what the checker's table covers on the scripted windows is
        // here only to see the real program report it).
        Case{"no script", "", Outcome::kReport, 53, kScript},
        Case{"random bytes", RandomBytes(3000), Outcome::kPlaysOn},
        Case{"a 401-character line and more", std::string(401, 'x') + "\r\nmore\r\n" + kEnd, Outcome::kPlaysOn},
        Case{"the script is a pipe", "", Outcome::kReport, 75, kScript,
             [](const fs::path& d) { fs::remove(d / kScript), mkfifo((d / kScript).c_str(), 0600); }},
        Case{"the script is a link to /dev/zero", "", Outcome::kReport, 75, kScript,
             [](const fs::path& d) { fs::remove(d / kScript), fs::create_symlink("/dev/zero", d / kScript); }},
        Case{"the script is a link to itself", "", Outcome::kReport, 75, kScript,
             [](const fs::path& d) { fs::remove(d / kScript), fs::create_symlink(d / kScript, d / kScript); }},
        Case{"#ICON 9", "#ICON 9\r\n" + kEnd, Outcome::kReport, 9, kScript + ", line 1"},
        Case{"#ICON abc", "#ICON abc\r\n" + kEnd, Outcome::kEnds},
        Case{"#ICON &H and 257 digits", Slurp(kRegressions / "script/refused-hex-overflow.dat"), Outcome::kReport, 6,
             kScript + ", line 1"},
        // Pictures.
        Case{"a good picture", Picture("office.bmp") + kEnd, Outcome::kEnds},
        Case{"a missing picture", "\r\n#PAGE\r\n" + Picture("gone.bmp") + kEnd, Outcome::kPlaysOn},
        Case{"a missing picture, reported", Picture("gone.bmp") + kEnd, Outcome::kReport, 53, "gone.bmp"},
        Case{"a zero-byte picture", Picture("zero.bmp") + kEnd, Outcome::kReport, 481, "zero.bmp", File("zero.bmp", "")},
        Case{"a folder as a picture", Picture("dir.bmp") + kEnd, Outcome::kReport, 75, "dir.bmp",
             [](const fs::path& d) { fs::create_directory(d / "dir.bmp"); }},
        Case{"a text file named .bmp", Picture("text.bmp") + kEnd, Outcome::kReport, 481, "text.bmp",
             File("text.bmp", "BM is not a picture, only text\r\n")},
        Case{"a picture that is a pipe", Picture("p.png") + kEnd, Outcome::kReport, 75, "p.png",
             [](const fs::path& d) { mkfifo((d / "p.png").c_str(), 0600); }},
        Case{"a picture linked to itself", Picture("l.png") + kEnd, Outcome::kReport, 75, "l.png",
             [](const fs::path& d) { fs::create_symlink(d / "l.png", d / "l.png"); }},
        Case{"a PNG chunk past the end", Picture("t.png") + kEnd, Outcome::kReport, 481, kScript + ", line 1",
             Regression("t.png", "picture/refused-png-text-past-end.png")},
        Case{"a PNG chunk of 1 GB", Picture("h.png") + kEnd, Outcome::kReport, 481, "h.png",
             Regression("h.png", "picture/refused-png-huge-chunk.png")},
        Case{"a GIF whose second image is huge", Picture("g.gif") + kEnd, Outcome::kReport, 481, "g.gif",
             Regression("g.gif", "picture/refused-gif-second-image-huge.gif")},
        // Tunes and the effect: never heard, never reported.
        Case{"#MIDI of a missing tune", "#MIDI \"gone.mid\"\r\n" + kEnd, Outcome::kEnds},
        Case{"#MIDI of a zero-byte tune", "#MIDI \"z.mid\"\r\n" + kEnd, Outcome::kEnds, 0, "", File("z.mid", "")},
        Case{"#MIDI of random bytes", "#MIDI \"r.mid\"\r\n" + kEnd, Outcome::kEnds, 0, "", File("r.mid", RandomBytes(500))},
        Case{"no intro tune", kEnd, Outcome::kEnds, 0, "", [](const fs::path& d) { fs::remove(d / "Zirev.mid"); }},
        Case{"a damaged start-up tune", kEnd, Outcome::kEnds, 0, "", File("enka.mid", "MThd" + RandomBytes(60))},
        Case{"no closing tune: the credits stay", kEnd, Outcome::kPlaysOn, 0, "",
             [](const fs::path& d) { fs::remove(d / "lmb.mid"); }},
        Case{"no effect", kEnd, Outcome::kEnds, 0, "", [](const fs::path& d) { fs::remove(d / "vmdemo3.WAV"); }},
        Case{"an effect at 1 Hz", kEnd, Outcome::kEnds, 0, "", Regression("vmdemo3.WAV", "wav/refused-rate-1hz.wav")},
        Case{"an effect of 4 GB", kEnd, Outcome::kEnds, 0, "", Regression("vmdemo3.WAV", "wav/refused-data-4gb.wav")}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

// A copy of the program without its picture helper beside it, or beside one
// that cannot be run: a good picture is no fault of the story, and the
// report, played or checked, names the helper once instead.
TEST(PictureHelper, MissingOrNotExecutableIsReportedNamingTheHelper) {
  const fs::path real_helper = kBuiltProgram.parent_path() / "radaded2k-picture-decoder";
  for (const bool present : {false, true}) {
    testing_support::TempDir dir("no_helper");
    const fs::path bin = dir.path() / "bin", story = dir.path() / "story", helper = bin / real_helper.filename();
    fs::create_directories(bin);
    fs::create_directories(story);
    fs::copy_file(kBuiltProgram, bin / "radaded2k");
    if (present) {
      fs::copy_file(real_helper, helper);
      fs::permissions(helper, fs::perms::owner_read | fs::perms::owner_write);
    }
    WriteStory(story, Picture("office.bmp") + "page\r\n" + kEnd);
    const std::string report =
        present ? "run-time error 75: Path/File access error: " : "run-time error 53: File not found: ";
    const Result played = RunProgram(story, bin / "radaded2k");
    EXPECT_EQ(played.status, 1) << played.report;
    EXPECT_NE(played.report.find(report + helper.string()), std::string::npos) << played.report;
    const Result checked = RunProgram(story, bin / "radaded2k", "--check");
    EXPECT_EQ(checked.status, 1) << checked.output;
    EXPECT_EQ(checked.output.find("office.bmp"), std::string::npos) << checked.output;
    EXPECT_NE(checked.output.find("1 page, 1 error, 0 warnings"), std::string::npos) << checked.output;
    EXPECT_EQ(checked.output.rfind(helper.string() + ": error: the picture decoder cannot be started", 0), 0)
        << checked.output;
  }
}

// --from and --watch in the real program: a line past the end is refused as
// --check words it; a script saved again is shown, and one saved with an
// error is reported on standard error.
TEST(Authoring, FromALineAndWatchTheScriptBeingSaved) {
  testing_support::TempDir dir("watch");
  const fs::path d = dir.path(), trace = d / "watch.jsonl", err = d / "watch.err";
  WriteStory(d, Picture("office.bmp") + "first\r\n" + kEnd);
  const Result past = RunProgram(d, kBuiltProgram, "--from=9");
  EXPECT_EQ(past.status, 2);
  EXPECT_EQ(past.report.rfind(kScript + ":9: error: line 9 is past the end of the script", 0), 0u) << past.report;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> args = {kBuiltProgram, "--from=2", "--watch", "--trace=" + trace.string(), d.string()};
  std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "RADADED_NO_MESSAGE_BOX=1",
                                  "ASAN_OPTIONS=detect_leaks=0"};
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  for (auto& e : env) envp.push_back(e.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  const auto await = [](const fs::path& file, const std::string& text) {
    for (auto start = std::chrono::steady_clock::now(); std::chrono::steady_clock::now() - start < 30s;
         std::this_thread::sleep_for(50ms))
      if (Slurp(file).find(text) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(await(trace, "\"value\":\"first\\r\\n\""));
  Write(d / kScript, Picture("office.bmp") + "second\r\n" + kEnd);
  EXPECT_TRUE(await(trace, "\"value\":\"second\\r\\n\"")) << Slurp(err);
  Write(d / kScript, "#ICON 9\r\nthird\r\n" + kEnd);
  EXPECT_TRUE(await(err, kScript + ":1:7: error: speaker 9")) << Slurp(err);
  EXPECT_EQ(Slurp(trace).find("third"), std::string::npos) << "the page stays";
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
