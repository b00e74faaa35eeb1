// The picture decoder helper: a picture file on standard input, its pixels on
// standard output. Started by the program for every picture it loads.
#include <unistd.h>

#include "picture/decoder_process.h"

int main() {
  // No exit handlers: nothing of the decoders' state is worth tidying.
  ::_exit(pic::RunPictureDecoder(0, 1));
}
