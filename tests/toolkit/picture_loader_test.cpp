// The picture loader: the empty name, a missing file, a folder, and bytes
// that are no picture, each as the story reports it.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/runtime_error.h"
#include "support/temp_dir.h"
#include "toolkit/picture_loader.h"

namespace {

TEST(PictureLoader, EmptyNameIsTheEmptyPictureAMissingFile53AFolder75AndNoPicture481) {
  testing_support::TempDir dir("loader");
  testing_support::InDirectory in(dir.path());
  std::filesystem::create_directory("dir.bmp");
  EXPECT_EQ(tk::LoadPicture(""), nullptr);
  const auto error_of = [](auto&& load) {
    try {
      load();
    } catch (const tk::RuntimeError& e) {
      return std::to_string(e.number()) + " " + e.where();
    }
    return std::string("a picture");
  };
  EXPECT_EQ(error_of([] { tk::LoadPicture("no such picture.bmp"); }), "53 no such picture.bmp");
  EXPECT_EQ(error_of([] { tk::LoadPicture("dir.bmp"); }), "75 dir.bmp");
  const std::vector<unsigned char> text = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(error_of([&] { tk::DecodePicture(text, "hello.bmp"); }), "481 hello.bmp");
  EXPECT_EQ(error_of([&] { tk::DecodeBuiltInPicture(text, "hello.ico"); }), "481 hello.ico");
}

}  // namespace
