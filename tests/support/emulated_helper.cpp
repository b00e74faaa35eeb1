// Linked into a cross build's test programs that decode pictures: the helper
// is started through the script RADADED_TEST_PICTURE_DECODER names, which
// runs it under the emulator (tests/CMakeLists.txt).
#include <cstdlib>

#include "picture/decoder_process.h"

namespace {

const bool kHelperNamed = [] {
  const char* helper = std::getenv("RADADED_TEST_PICTURE_DECODER");
  if (helper && *helper) pic::SetPictureDecoderPath(helper);
  return true;
}();

}  // namespace
