// The inotify file watcher over real files: what editors and copies do to a
// watched file counts, once; other files, and names not watched, do not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/temp_dir.h"
#include "toolkit/inotify_watcher.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

TEST(InotifyWatcher, ReportsTheWatchedNamesWhoseFilesWereWrittenOrReplaced) {
  testing_support::TempDir temp("watch");
  testing_support::InDirectory in(temp.path());
  fs::create_directory("Pics");
  Write("Rodevez2E.dat", "a");
  tk::InotifyWatcher watcher;
  watcher.Watch({"Rodevez2E.dat", "pics\\Scene.BMP", "later.mid", "Rodevez2E.dat"});
  const struct {
    const char* what;
    std::function<void()> change;
    Names changed;
  } cases[] = {
      {"nothing yet", [] {}, {}},
      {"written in place, twice: once", [] { Write("Rodevez2E.dat", "b"), Write("Rodevez2E.dat", "c"); },
       {"Rodevez2E.dat"}},
      {"a file of another name", [] { Write("trace.jsonl", "{}"); }, {}},
      {"in a folder, letter case forgiven", [] { Write("Pics/scene.bmp", "BM"); }, {"pics\\Scene.BMP"}},
      {"saved through a new file moved over it",
       [] { Write("Rodevez2E.dat.new", "d"), fs::rename("Rodevez2E.dat.new", "Rodevez2E.dat"); }, {"Rodevez2E.dat"}},
      {"a file that comes to be, in the order watched",
       [] { Write("later.mid", "M"), Write("Rodevez2E.dat", "e"); }, {"Rodevez2E.dat", "later.mid"}},
      {"removed: nothing to read yet", [] { fs::remove("later.mid"); }, {}},
      {"its folder deleted and made again",
       [] { fs::remove_all("Pics"), fs::create_directory("Pics"), Write("Pics/scene.bmp", "BM2"); }, {"pics\\Scene.BMP"}},
      {"and written in the new folder", [] { Write("Pics/scene.bmp", "BM3"); }, {"pics\\Scene.BMP"}},
  };
  for (const auto& c : cases) {
    c.change();
    EXPECT_EQ(watcher.Changed(), c.changed) << c.what;
  }
  watcher.Watch({"later.mid"});
  Write("Rodevez2E.dat", "f");
  EXPECT_EQ(watcher.Changed(), Names{}) << "no longer watched";
}

// A story folder made again at its old path (an unpacked archive, a checkout)
// is entered again, and all of it counts as changed.
TEST(InotifyWatcher, EntersAStoryFolderMadeAgainAtItsPath) {
  testing_support::TempDir temp("watch");
  const fs::path story = temp.path() / "story";
  fs::create_directory(story);
  testing_support::InDirectory in(story);
  tk::InotifyWatcher watcher;
  watcher.Watch({"Rodevez2E.dat"});
  fs::remove_all(story);
  fs::create_directory(story);
  Write(story / "Rodevez2E.dat", "new");
  EXPECT_EQ(watcher.Changed(), Names{"Rodevez2E.dat"});
  EXPECT_TRUE(fs::exists("Rodevez2E.dat")) << "the new folder is the current one";
}

}  // namespace
