#include "toolkit/picture_cache.h"

#include <algorithm>

namespace tk {

std::optional<PictureCache::Outcome> PictureCache::Find(const Version& version) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.version == version; });
  if (it == entries_.end()) return std::nullopt;
  entries_.splice(entries_.begin(), entries_, it);
  return entries_.front().outcome;
}

void PictureCache::Add(const Version& version, Outcome outcome) {
  const std::size_t bytes = outcome.picture ? outcome.picture->argb.size() * sizeof(std::uint32_t) : 0;
  entries_.push_front({version, std::move(outcome), bytes});
  bytes_ += bytes;
  while (entries_.size() > 1 && bytes_ > max_bytes_) {
    bytes_ -= entries_.back().bytes;
    entries_.pop_back();
  }
}

}  // namespace tk
