#pragma once
// Where the reader stopped, kept for each story folder (--resume): one small
// file a folder under the state folder ($XDG_STATE_HOME, by default
// ~/.local/state) in radaded2k/places/, named by a hash of the folder's
// path and holding the path itself, so that a file kept for another folder,
// or by anything else, is never taken for this one's.
#include <optional>
#include <string>

namespace app {

class PlaceStore {
 public:
  // The store of `folder` (an absolute path) under the state folder `state`.
  PlaceStore(std::string folder, const std::string& state);
  // The store of the current directory, under the state folder the
  // environment names; nothing when it names none (no HOME either).
  static std::optional<PlaceStore> ForCurrentFolder();

  // The line kept; nothing when none is, or (said once) when the file is
  // damaged or not one of this program's.
  std::optional<long> Load() const;
  // Keeps the line, replacing the file whole: a crash or a full disk leaves
  // the old file or the new one, never a part. A failure is said once.
  void Save(long line) const;
  // The story was played to its end: nothing is kept any more.
  void Forget() const;

  const std::string& path() const { return path_; }

 private:
  std::string Head() const;  // the file's bytes up to its line number
  std::string Contents(long line) const;

  std::string folder_;
  std::string dir_;   // radaded2k/places/ under the state folder
  std::string path_;  // the file in it
};

}  // namespace app
