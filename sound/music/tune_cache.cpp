#include "sound/music/tune_cache.h"

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
  tunes_.push_front(std::move(tune));
  while (tunes_.size() > 1 && bytes() > max_bytes_) tunes_.pop_back();
}

void TuneCache::Remove(const std::shared_ptr<RenderedTune>& tune) {
  const auto it = std::find(tunes_.begin(), tunes_.end(), tune);
  if (it != tunes_.end()) tunes_.erase(it);
}

std::size_t TuneCache::bytes() const {
  std::size_t sum = 0;
  for (const auto& t : tunes_) sum += t->bytes();
  return sum;
}

}  // namespace sound
