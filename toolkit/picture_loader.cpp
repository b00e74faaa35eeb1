#include "toolkit/picture_loader.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "picture/decoder_process.h"
#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/file_names.h"
#include "runtime/file_reader.h"
#include "runtime/runtime_error.h"
#include "toolkit/picture_cache.h"

namespace tk {

pic::Picture DecodePicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = pic::DecodeInHelper(bytes);
  if (!decoded) rt::Raise(rt::kInvalidPicture, where);
  return std::make_shared<const pic::PictureData>(std::move(*decoded));
}

pic::Picture DecodeBuiltInPicture(std::span<const unsigned char> bytes, const std::string& where) {
  auto decoded = pic::DecodePictureBytes(bytes);
  if (!decoded) rt::Raise(rt::kInvalidPicture, where);
  decoded->pixel_art = true;
  return std::make_shared<const pic::PictureData>(std::move(*decoded));
}

namespace {

// A script names the same few pictures again and again: each is decoded once
// a version of its file. 8 MB holds a story's scenes at 640 x 480.
constexpr std::size_t kCacheBytes = 8 * 1024 * 1024;

std::optional<PictureCache::Version> VersionOf(const std::filesystem::path& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const auto ns = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; };
  return PictureCache::Version{path.string(), static_cast<unsigned long long>(st.st_dev),
                               static_cast<unsigned long long>(st.st_ino), static_cast<unsigned long long>(st.st_size),
                               ns(st.st_mtim), ns(st.st_ctim)};
}

pic::Picture Load(const std::filesystem::path& path, const std::string& where) {
  std::vector<unsigned char> bytes;
  const int error = rt::ReadRegularFile(path, pic::kMaxPictureFileBytes, bytes);
  if (error == rt::kOutOfMemory) rt::Raise(rt::kInvalidPicture, where);
  if (error) rt::Raise(error, where);
  return DecodePicture(bytes, where);
}

}  // namespace

pic::Picture LoadPicture(std::string_view name) {
  if (name.empty()) return nullptr;
  const std::string where(name);
  const auto path = rt::ResolveName(name);
  if (!path) rt::Raise(rt::kFileNotFound, where);
  static PictureCache cache(kCacheBytes);
  const auto version = VersionOf(*path);
  if (!version) return Load(*path, where);  // no regular file: its error, every time
  if (const auto kept = cache.Find(*version)) {
    if (kept->error) rt::Raise(kept->error, where);
    return kept->picture;
  }
  try {
    pic::Picture picture = Load(*path, where);
    cache.Add(*version, {picture, 0});
    return picture;
  } catch (const rt::RuntimeError& e) {
    // The picture's own fault is kept; the helper's (it cannot be started)
    // is not the file's, and is tried again.
    if (e.where() == where) cache.Add(*version, {nullptr, e.number()});
    throw;
  }
}

}  // namespace tk
