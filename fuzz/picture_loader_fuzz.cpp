// Picture bytes through the real path: the checks, then the helper process.
// Anything but a picture or error 481 is a fault.
#include <cstddef>
#include <cstdint>

#include "runtime/runtime_error.h"
#include "toolkit/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const pic::Picture p = tk::DecodePicture({data, size}, "fuzz");
    if (!p || p->argb.size() != static_cast<std::size_t>(p->width) * p->height) __builtin_trap();
  } catch (const rt::RuntimeError& e) {
    if (e.number() != rt::kInvalidPicture) __builtin_trap();
  }
  return 0;
}
