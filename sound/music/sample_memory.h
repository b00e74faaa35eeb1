#pragma once
// Memory for rendered samples, taken from the system in whole pages of its
// own: a page only becomes resident once it is written to, and the whole of
// it goes back to the system when it is freed. (The allocator would keep a
// block of this size for reuse, resident, long after its tune was let go.)
#include <cstddef>
#include <cstdint>

namespace sound {

class SampleMemory {
 public:
  // Room for `samples` samples, uninitialised. Throws std::bad_alloc.
  explicit SampleMemory(std::size_t samples);
  ~SampleMemory();
  SampleMemory(const SampleMemory&) = delete;
  SampleMemory& operator=(const SampleMemory&) = delete;

  std::int16_t* get() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  std::int16_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace sound
