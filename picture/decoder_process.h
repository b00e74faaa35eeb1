#pragma once
// Decoding pictures out of harm's way: each picture is decoded by a short-
// lived helper process that gets the file's bytes on its standard input and
// writes the pixels to its standard output, under limits on its memory, its
// processor time and its wall-clock time. Whatever goes wrong inside a decoder
// (a crash, a hang, a runaway allocation) costs the helper, not the story.
#include <optional>
#include <span>
#include <string>

#include "picture/picture.h"

namespace pic {

// The helper program; by default "radaded2k-picture-decoder" beside the
// running program, else in ../libexec/radaded2k/ from it.
void SetPictureDecoderPath(std::string path);
const std::string& PictureDecoderPath();

// How long a decode may take before the helper is killed.
inline constexpr int kDecodeTimeoutMs = 3000;

// The picture, or nothing when the bytes fail the format checks (made here,
// before any process is started) or the helper fails on them: it exits with
// an error, is killed by a signal, or runs out of time or limits. A helper
// that cannot be started at all is no fault of the picture: that raises
// error 53 naming the helper when there is none at its path, and 75 when it
// is there but cannot be run (not executable, not a program).
std::optional<PictureData> DecodeInHelper(std::span<const unsigned char> bytes);

// The helper's side: reads a file from `in_fd`, writes the result to `out_fd`,
// and returns the process's exit status.
int RunPictureDecoder(int in_fd, int out_fd);

}  // namespace pic
