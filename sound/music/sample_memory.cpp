#include "sound/music/sample_memory.h"

#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#define RADADED_PAGES 1
#endif

namespace sound {

SampleMemory::SampleMemory(std::size_t samples) : size_(samples) {
  if (samples == 0) return;
  if (samples > SIZE_MAX / sizeof(std::int16_t)) throw std::bad_alloc();
#ifdef RADADED_PAGES
  void* p = mmap(nullptr, samples * sizeof(std::int16_t), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  data_ = static_cast<std::int16_t*>(p);
#else
  data_ = new std::int16_t[samples];
#endif
}

SampleMemory::~SampleMemory() {
  if (!data_) return;
#ifdef RADADED_PAGES
  munmap(data_, size_ * sizeof(std::int16_t));
#else
  delete[] data_;
#endif
}

}  // namespace sound
