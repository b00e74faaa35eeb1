#include "sound/tune_cache.h"

#include <algorithm>

namespace sound {

std::shared_ptr<RenderedTune> TuneCache::Find(std::span<const unsigned char> tune) {
  const auto it = std::find_if(tunes_.begin(), tunes_.end(), [&](const auto& t) {
    return std::equal(t->tune.begin(), t->tune.end(), tune.begin(), tune.end());
  });
  if (it == tunes_.end()) return nullptr;
  tunes_.splice(tunes_.begin(), tunes_, it);
  return tunes_.front();
}

void TuneCache::Add(std::shared_ptr<RenderedTune> tune) {
  bytes_ += tune->bytes();
  tunes_.push_front(std::move(tune));
  while (bytes_ > max_bytes_ && tunes_.size() > 1) {
    bytes_ -= tunes_.back()->bytes();
    tunes_.pop_back();  // a tune still playing lives on where it is used
  }
}

void TuneCache::Remove(const std::shared_ptr<RenderedTune>& tune) {
  const auto it = std::find(tunes_.begin(), tunes_.end(), tune);
  if (it == tunes_.end()) return;
  bytes_ -= (*it)->bytes();
  tunes_.erase(it);
}

}  // namespace sound
