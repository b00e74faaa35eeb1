// The decoders themselves, in this process, so that the fuzzer sees inside
// them (our bitmap and icon readers, and the libraries as we drive them).
#include <cstddef>
#include <cstdint>

#include "picture/picture_decoder.h"
#include "picture/picture_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto p = pic::DecodePictureBytes({data, size});
  if (p && (!pic::AcceptablePictureSize(p->width, p->height) ||
            p->argb.size() != static_cast<std::size_t>(p->width) * p->height))
    __builtin_trap();
  return 0;
}
