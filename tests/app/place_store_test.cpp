// Where the reader stopped, kept for --resume: read back as written, never
// taken from a file that is damaged or kept for another folder, and never
// damaged by a write that fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "app/place_store.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PlaceStore, KeepsTheLineOfEachFolderAndNothingElse) {
  testing_support::TempDir state("state");
  const app::PlaceStore store("/stories/one", state.path().string()), other("/stories/two", state.path().string());
  EXPECT_FALSE(store.Load()) << "nothing kept yet";
  store.Save(57);
  other.Save(3);
  EXPECT_EQ(store.Load(), 57);
  EXPECT_EQ(other.Load(), 3);
  EXPECT_EQ(fs::status(fs::path(store.path()).parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  store.Forget();
  EXPECT_FALSE(store.Load());
  EXPECT_EQ(other.Load(), 3);

  // Files that are not the place this store kept: each ignored.
  const std::string head = "radaded2k place\nfolder /stories/one\nline ";
  for (const std::string& bytes : {head + "12", head + "12\n\n", head + "0\n", head + "-4\n", head + "+4\n",
                                   head + "99999999999999999999\n", std::string("radaded2k place\nfolder /stories/on\nline 12\n"),
                                   head.substr(0, 20), std::string("\x89PNG\r\n"), std::string()}) {
    std::ofstream(store.path(), std::ios::binary) << bytes;
    EXPECT_FALSE(store.Load()) << bytes;
  }
  std::ofstream(store.path(), std::ios::binary) << head << "12\n";
  EXPECT_EQ(store.Load(), 12);
}

TEST(PlaceStore, AFailedSaveLeavesTheOldPlace) {
  testing_support::TempDir state("state");
  const app::PlaceStore store("/stories/one", state.path().string());
  store.Save(8);
  const std::string before = Read(store.path());
  // The disk full: no file may grow.
  signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit none = old;
  none.rlim_cur = 0;
  setrlimit(RLIMIT_FSIZE, &none);
  store.Save(9);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(Read(store.path()), before);
  EXPECT_EQ(store.Load(), 8);
  for (const auto& entry : fs::directory_iterator(fs::path(store.path()).parent_path()))
    EXPECT_EQ(entry.path().string(), store.path()) << "no half-written file left";
  // A state folder that cannot be made.
  std::ofstream(state.path() / "file") << "x";
  app::PlaceStore(("/stories/one"), (state.path() / "file").string()).Save(9);
  EXPECT_EQ(store.Load(), 8);
}

}  // namespace
