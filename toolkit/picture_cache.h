#pragma once
// Pictures loaded from files, kept by the file's version (its identity, size
// and times), so that a picture a script names on many lines is decoded once
// until the file changes; a file that is no picture is judged once too.
// Bounded in bytes: the one loaded last always stays.
#include <cstddef>
#include <list>
#include <optional>
#include <string>

#include "picture/picture.h"

namespace tk {

class PictureCache {
 public:
  // A file's version: where it is, and what says it has changed.
  struct Version {
    std::string path;
    unsigned long long device = 0, inode = 0, size = 0;
    long long modified_ns = 0, changed_ns = 0;
    bool operator==(const Version&) const = default;
  };
  // What loading it gave: the picture, or the run-time error it raised.
  struct Outcome {
    pic::Picture picture;
    int error = 0;
  };

  explicit PictureCache(std::size_t max_bytes) : max_bytes_(max_bytes) {}

  std::optional<Outcome> Find(const Version& version);
  void Add(const Version& version, Outcome outcome);

 private:
  struct Entry {
    Version version;
    Outcome outcome;
    std::size_t bytes;
  };
  std::size_t max_bytes_;
  std::size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
};

}  // namespace tk
