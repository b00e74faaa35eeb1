// The command line: options, the story folder, and the wrong ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "support/temp_dir.h"

namespace {

struct Parsed {
  std::optional<int> status;
  app::Options options;
  std::string out, err;
};

Parsed Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "radaded2k");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  Parsed p;
  p.out = testing_support::Printed([&](std::FILE* out) {
    p.err = testing_support::Printed([&](std::FILE* err) {
      p.status = app::ParseCommandLine(static_cast<int>(args.size()), argv.data(), p.options, out, err);
    });
  });
  return p;
}

// Every option's value, in one line.
std::string Described(const app::Options& o) {
  return "folder=" + o.folder + " trace=" + o.trace + " check=" + std::to_string(o.check) + " scale=" +
         std::to_string(o.scale) + " from=" + std::to_string(o.from) + " watch=" + std::to_string(o.watch) +
         " full=" + std::to_string(o.full_screen) + " auto=" + std::to_string(o.auto_turn_ms) +
         " speak=" + std::to_string(o.speak) + " resume=" + std::to_string(o.resume) +
         " hook=" + std::to_string(o.text_hook) + " volumes=" + std::to_string(o.music_volume) + "/" +
         std::to_string(o.effects_volume);
}

TEST(CommandLine, OptionsAndTheStoryFolder) {
  testing_support::TempDir dir("command_line");
  std::filesystem::create_directory(dir.path() / "story");
  testing_support::InDirectory in(dir.path());
  // A relative trace is taken from where the program starts: it then changes into the story folder.
  const std::string here = std::filesystem::current_path().string();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "folder= trace= check=0 scale=0 from=0 watch=0 full=0 auto=-1 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--check", "--trace", "t.jsonl", "/tmp"}, "folder=/tmp trace=" + here + "/t.jsonl check=1 scale=0 from=0 watch=0 full=0 auto=-1 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--trace=/x", "--scale", "2", "."}, "folder=. trace=/x check=0 scale=2 from=0 watch=0 full=0 auto=-1 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--scale=4", "--fullscreen"}, "folder= trace= check=0 scale=4 from=0 watch=0 full=1 auto=-1 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--from", "25", "--watch", "--speak"}, "folder= trace= check=0 scale=0 from=25 watch=1 full=0 auto=-1 speak=1 resume=0 hook=0 volumes=100/100"},
      {{"--auto"}, "folder= trace= check=0 scale=0 from=0 watch=0 full=0 auto=0 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--auto=2.5"}, "folder= trace= check=0 scale=0 from=0 watch=0 full=0 auto=2500 speak=0 resume=0 hook=0 volumes=100/100"},
      {{"--resume", "--text-hook", "--music-volume=0", "--effects-volume", "55"},
       "folder= trace= check=0 scale=0 from=0 watch=0 full=0 auto=-1 speak=0 resume=1 hook=1 volumes=0/55"},
      // The time is only ever given after '='.
      {{"--auto", "story"}, "folder=story trace= check=0 scale=0 from=0 watch=0 full=0 auto=0 speak=0 resume=0 hook=0 volumes=100/100"},
  };
  for (const auto& [args, options] : cases) {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.status) << options;
    EXPECT_EQ(Described(p.options), options);
  }
}

TEST(CommandLine, HelpAndVersionPrintAndExitZero) {
  const Parsed help = Parse({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: radaded2k [OPTION]... [STORY_FOLDER]\n", 0), 0u) << help.out;
  const Parsed version = Parse({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("radaded2k (Radaded 2K) ", 0), 0u) << version.out;
}

TEST(CommandLine, WrongArgumentsSayWhatAndExitTwo) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--bogus"}, "radaded2k: unrecognized option '--bogus'"},
      {{"--trace"}, "radaded2k: option '--trace' requires an argument"},
      {{"--scale", "5"}, "radaded2k: invalid scale '5' (a whole factor from 1 to 4)"},
      {{"--scale=0.5"}, "radaded2k: invalid scale '0.5' (a whole factor from 1 to 4)"},
      {{"--auto=0"}, "radaded2k: invalid time '0' (seconds, from 0.1 to 3600)"},
      {{"--auto=5s"}, "radaded2k: invalid time '5s' (seconds, from 0.1 to 3600)"},
      {{"--auto=nan"}, "radaded2k: invalid time 'nan' (seconds, from 0.1 to 3600)"},
      {{"--speak=yes"}, "radaded2k: option '--speak' doesn't allow an argument"},
      {{"/no/such/folder"}, "radaded2k: cannot open story folder '/no/such/folder': No such file or directory"},
      {{"/etc/hostname"}, "radaded2k: '/etc/hostname' is not a folder"},
      {{".", "extra"}, "radaded2k: extra operand 'extra'"},
      {{"--from", "0"}, "radaded2k: invalid line '0' (a line of the script, from 1)"},
      {{"--from=+3"}, "radaded2k: invalid line '+3' (a line of the script, from 1)"},
      {{"--from=99999999999999999999"}, "radaded2k: invalid line '99999999999999999999' (a line of the script, from 1)"},
      {{"--check", "--watch"}, "radaded2k: --check plays nothing: it takes no --watch"},
      {{"--check", "--resume"}, "radaded2k: --check plays nothing: it takes no --resume"},
      {{"--resume", "--from=3"}, "radaded2k: --resume and --from both say where to start: give one"},
      {{"--music-volume=101"}, "radaded2k: invalid volume '101' (a percentage, from 0 to 100)"},
      {{"--effects-volume=-1"}, "radaded2k: invalid volume '-1' (a percentage, from 0 to 100)"},
      {{"--music-volume=50%"}, "radaded2k: invalid volume '50%' (a percentage, from 0 to 100)"},
  };
  for (const auto& [args, line] : cases) {
    const Parsed p = Parse(args);
    EXPECT_EQ(p.status, 2) << line;
    EXPECT_EQ(p.err, line + "\nTry 'radaded2k --help' for more information.\n");
    EXPECT_EQ(p.out, "");
  }
}

}  // namespace
