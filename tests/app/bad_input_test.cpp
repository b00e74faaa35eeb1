// The real program on SDL's dummy drivers, for what only the whole program
// shows: the picture helper looked for beside it (a helper that cannot be
// run, and a damaged picture, are the picture layer's tests), the command
// line's options at work, the status when
// there is no display, and a story watched while it is saved. What the
// readers, the checker and the player do with each bad file is shown by the
// layers' own tests. Each run ends as soon as what it waits for is seen.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/temp_dir.h"
#include "support/test_name.h"
#include "support/trace_reader.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
const fs::path kBuiltProgram = fs::read_symlink("/proc/self/exe").parent_path() / "radaded2k";
const std::string kScript = "Rodevez2E.dat";

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// The program started in the story folder `dir`, its output and trace there.
class Program {
 public:
  Program(const fs::path& dir, const fs::path& program, const std::vector<std::string>& args,
          const std::vector<std::string>& more_env = {})
      : dir_(dir) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, (dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // The test's own settings first: of two settings of one name, the first is read.
    std::vector<std::string> argv_s = {program.string()}, env = more_env;
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    env.insert(env.end(), {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "RADADED_NO_MESSAGE_BOX=1",
                           "ASAN_OPTIONS=detect_leaks=0", "RADADED_TRACE=" + (dir / "trace.jsonl").string()});
    std::vector<char*> argv, envp;
    for (auto& a : argv_s) argv.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Program() {
    if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
  }

  // Waits (30 s at most) until the program ends, giving its status, or until
  // `seen` holds, giving -1; the program then runs on.
  int Await(const std::function<bool()>& seen, std::chrono::milliseconds most = 30s) {
    for (const auto start = std::chrono::steady_clock::now(); std::chrono::steady_clock::now() - start < most;
         std::this_thread::sleep_for(20ms)) {
      if (seen && seen()) return -1;
      if (int status = 0; pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
    }
    return -2;  // neither
  }
  int Wait() { return Await({}); }
  void Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);  // never 0: that would be the whole process group
  }
  bool Traced(const std::string& key, const std::string& value) const {
    auto trace = testing_support::ReadTrace(dir_ / "trace.jsonl");
    return std::any_of(trace.begin(), trace.end(), [&](auto& r) { return r[key] == value; });
  }
  std::string Said() const { return Slurp(dir_ / "stdout.txt") + Slurp(dir_ / "stderr.txt"); }

 private:
  fs::path dir_;
  pid_t pid_ = 0;
};

// The fixed files of a short story, a picture, and its script.
void WriteStory(const fs::path& dir, const std::string& script) {
  for (const char* f : {"Zirev.mid", "enka.mid", "lmb.mid", "vmdemo3.WAV", "office.bmp"})
    fs::copy_file(RADADED_SOURCE_DIR "/story/" + std::string(f), dir / f);
  Write(dir / kScript, script);
}

struct Case {
  const char* what;
  std::vector<std::string> args;
  std::string script;
  int status;                   // -1: still running when the trace showed `until` (then it is stopped)
  std::vector<std::string> said;  // parts of its standard output or error
  std::string until = "";       // "key=value" of a trace record
  bool copied = false;          // a copy of the program, with no helper beside it
  std::vector<std::string> env = {};
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

const std::string kPicturePage = "#PICT    \"office.bmp\"\r\npage\r\n#ENDI\r\n";
// Where a copy of the program looks for its helper.
const std::string kCopiedHelper = "bin/radaded2k-picture-decoder";

class Runs : public ::testing::TestWithParam<Case> {};

TEST_P(Runs, EndAsTheyShould) {
  const Case& c = GetParam();
  testing_support::TempDir dir("program");
  const fs::path story = dir.path() / "story", bin = dir.path() / "bin";
  fs::create_directories(story);
  WriteStory(story, c.script);
  fs::path program = kBuiltProgram;
  if (c.copied) {
    fs::create_directories(bin);
    program = bin / "radaded2k";
    fs::copy_file(kBuiltProgram, program);
  }
  Program run(story, program, c.args, c.env);
  std::function<bool()> seen;
  if (const auto eq = c.until.find('='); eq != std::string::npos)
    seen = [&, eq] { return run.Traced(c.until.substr(0, eq), c.until.substr(eq + 1)); };
  const int status = run.Await(seen);
  std::string said = run.Said();
  for (auto at = said.find(dir.path().string()); at != std::string::npos; at = said.find(dir.path().string()))
    said.erase(at, dir.path().string().size());
  EXPECT_EQ(status, c.status) << said;
  for (const std::string& part : c.said) EXPECT_NE(said.find(part), std::string::npos) << part << "\nnot in: " << said;
}

INSTANTIATE_TEST_SUITE_P(
    Program, Runs,
    ::testing::Values(
        Case{"no helper beside the program", {"--from=2"}, kPicturePage, 1,
             {"run-time error 53: File not found: /" + kCopiedHelper}, "", true},
        Case{"--check without the helper", {"--check"}, kPicturePage, 1,
             {"/" + kCopiedHelper + ": error: the picture decoder cannot be started",
              kScript + ": 1 page, 1 error, 0 warnings"},
             "", true},
        Case{"--from past the end", {"--from=9"}, kPicturePage, 2, {kScript + ":9: error: line 9 is past the end"}},
        Case{"--auto turns a page after its reading time", {"--from=1", "--auto"}, "a\r\n#PAGE\r\nb\r\n#ENDI\r\n", -1,
             {}, "kind=auto"},
        Case{"--resume with no place kept plays from the intro", {"--resume"}, "a\r\n#ENDI\r\n", -1,
             {"no place is kept for this story: playing it from the start"}, "form=VmDemo", false,
             {"XDG_STATE_HOME=/nonexistent/state"}},
        Case{"no display", {}, kPicturePage, 2, {"cannot open the display"}, "", false,
             {"SDL_VIDEODRIVER=x11", "DISPLAY=:65535"}}),
    [](const auto& info) { return testing_support::TestName(info.param.what, info.index); });

// A signal ignored when the program starts (nohup's SIGHUP) stays ignored;
// what cannot reach standard output is a failure, not a success.
TEST(Program, KeepsIgnoredSignalsAndReportsLostOutput) {
  testing_support::TempDir dir("signals");
  WriteStory(dir.path(), kPicturePage);
  ::signal(SIGHUP, SIG_IGN);  // inherited by the program, as nohup leaves it
  Program run(dir.path(), kBuiltProgram, {"--from=2"});
  ::signal(SIGHUP, SIG_DFL);
  ASSERT_EQ(run.Await([&] { return run.Traced("control", "Label1"); }), -1);
  run.Signal(SIGHUP);
  EXPECT_EQ(run.Await([] { return false; }, 500ms), -2) << "SIGHUP ended it";
  run.Signal(SIGTERM);
  EXPECT_EQ(run.Wait(), 0);
  for (const char* option : {"--version", "--check"}) {
    const std::string command = "cd " + dir.path().string() + " && " + kBuiltProgram.string() + " " + option +
                                " >/dev/full 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1) << option;
  }
}

// --from and --watch: a script saved again is shown, and one saved with an
// error is reported on standard error while the page stays.
TEST(Authoring, WatchTheScriptBeingSaved) {
  testing_support::TempDir dir("watch");
  const fs::path d = dir.path();
  WriteStory(d, "#PICT    \"office.bmp\"\r\nfirst\r\n#ENDI\r\n");
  Program run(d, kBuiltProgram, {"--from=2", "--watch"});
  const auto page = [&](const char* text) { return [&run, text] { return run.Traced("value", text); }; };
  EXPECT_EQ(run.Await(page("first\r\n")), -1);
  Write(d / kScript, "#PICT    \"office.bmp\"\r\nsecond\r\n#ENDI\r\n");
  EXPECT_EQ(run.Await(page("second\r\n")), -1) << run.Said();
  Write(d / kScript, "#ICON 9\r\nthird\r\n#ENDI\r\n");
  EXPECT_EQ(run.Await([&] { return run.Said().find(kScript + ":1:7: error: speaker 9") != std::string::npos; }), -1);
  EXPECT_FALSE(run.Traced("value", "third\r\n")) << "the page stays";
  run.Signal(SIGTERM);
  EXPECT_EQ(run.Wait(), 0);
}

}  // namespace
