// Names as the story names them, found on disk as old Windows data leaves
// them: in another letter case, in raw code page 932 bytes, under folders
// whose own names hold a "\".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/file_names.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// 背景 and 音楽 as code page 932 bytes.
const std::string kHaikei = "\x94\x77\x8C\x69", kOngaku = "\x89\xB9\x8A\x79";

TEST(FileNames, FindsTheEntryTheOriginalPlatformWould) {
  const struct {
    const char* what;
    std::vector<std::string> entries;  // raw bytes; a trailing "/" makes a folder
    std::string name;                  // UTF-8, "\" between folders
    std::string found;                 // the entry found ("" for none), "/" between folders
  } cases[] = {
      {"the exact name", {"a.bmp", "A.BMP"}, "A.BMP", "A.BMP"},
      {"another letter case", {"Tune.MID"}, "tune.mid", "Tune.MID"},
      {"raw code page 932 bytes", {kHaikei + ".bmp"}, "背景.bmp", kHaikei + ".bmp"},
      {"raw bytes in another letter case", {kHaikei + ".BMP"}, "背景.bmp", kHaikei + ".BMP"},
      {"a raw folder and a raw file", {kOngaku + "/", kOngaku + "/" + kHaikei + ".mid"}, "音楽\\背景.mid",
       kOngaku + "/" + kHaikei + ".mid"},
      {"the UTF-8 name wins over the raw one", {kHaikei + ".bmp", "背景.bmp"}, "背景.bmp", "背景.bmp"},
      {"the raw name wins over one in another case", {kHaikei + ".BMP", kHaikei + ".bmp"}, "背景.bmp",
       kHaikei + ".bmp"},
      {"raw bytes of another name", {kOngaku + ".bmp"}, "背景.bmp", ""},
  };
  for (const auto& c : cases) {
    testing_support::TempDir dir("names");
    for (const auto& e : c.entries) {
      if (e.ends_with("/")) fs::create_directories(dir.path() / e);
      else std::ofstream(dir.path() / e) << e;
    }
    testing_support::InDirectory in(dir.path());
    const auto path = rt::ResolveName(c.name);
    EXPECT_EQ(path ? path->lexically_normal().string() : "", c.found) << c.what;
  }
}

// A name is looked up from the current directory: a "\" in that directory's
// own name is part of a folder's name, only those of the name are folders.
TEST(FileNames, ABackslashInTheCurrentDirectorysNameIsNoFolder) {
  testing_support::TempDir dir("names");
  const fs::path story = dir.path() / "back\\slash";
  fs::create_directories(story / "Music");
  std::ofstream(story / "Music" / "Tune.MID") << "x";
  testing_support::InDirectory in(story);
  EXPECT_EQ(rt::ResolveName("Music\\tune.mid").value_or(""), "Music/Tune.MID");
  EXPECT_FALSE(rt::ResolveName("C:\\Music\\Tune.MID"));
}

}  // namespace
