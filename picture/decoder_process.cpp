#include "picture/decoder_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "picture/picture_decoder.h"
#include "picture/picture_format.h"
#include "runtime/byte_reader.h"
#include "runtime/file_reader.h"
#include "runtime/file_writer.h"
#include "runtime/helper_path.h"
#include "runtime/quit_request.h"
#include "runtime/runtime_error.h"
#include "runtime/spawn_helper.h"
#include "runtime/unique_fd.h"

namespace pic {
namespace {

constexpr char kHelperName[] = "radaded2k-picture-decoder";
constexpr unsigned char kMagic[4] = {'R', 'D', 'P', '1'};
constexpr std::size_t kHeaderBytes = 12;

std::string& HelperPath() {
  static std::string path = rt::HelperPath(kHelperName);
  return path;
}

// Reads the helper's answer until it closes its end or the deadline passes;
// the program asked to end meanwhile ends it now (ProcessEnd, once the helper
// is killed).
bool ReadAnswer(int fd, pid_t helper, std::chrono::steady_clock::time_point deadline,
                std::vector<unsigned char>& answer) {
  std::size_t expected = kHeaderBytes;
  answer.resize(kHeaderBytes);
  std::size_t got = 0;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p[2] = {{fd, POLLIN, 0}, {rt::QuitFd(), POLLIN, 0}};
    const int ready = ::poll(p, rt::QuitFd() >= 0 ? 2 : 1, static_cast<int>(left.count()));
    if (rt::QuitAsked()) {
      ::kill(helper, SIGKILL);
      while (::waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
      }
      throw rt::ProcessEnd();
    }
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if (got == answer.size()) {
      char extra;
      return ::read(fd, &extra, 1) == 0;  // anything past the pixels is a fault
    }
    const ssize_t n = ::read(fd, answer.data() + got, answer.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
    if (got == kHeaderBytes && expected == kHeaderBytes) {
      if (std::memcmp(answer.data(), kMagic, 4) != 0) return false;
      const std::uint32_t w = rt::Le32(answer, 4), h = rt::Le32(answer, 8);
      if (!AcceptablePictureSize(w, h)) return false;
      expected = kHeaderBytes + static_cast<std::size_t>(w) * h * 4;
      answer.resize(expected);
    }
  }
}

void LimitSelf() {
  const auto limit = [](int resource, rlim_t value) {
    rlimit r{value, value};
    ::setrlimit(resource, &r);
  };
  limit(RLIMIT_CPU, kDecodeTimeoutMs / 1000);
  limit(RLIMIT_CORE, 0);
  limit(RLIMIT_FSIZE, 0);
  limit(RLIMIT_NPROC, 0);
#if !defined(__SANITIZE_ADDRESS__)
  // The sanitizers reserve terabytes of address space; their own allocation
  // limit stands in for this one in sanitized builds.
  limit(RLIMIT_AS, 512ull * 1024 * 1024);
#endif
}

// The error that starting the helper at `path` would give, found before it is
// started: posix_spawn may report an exec that fails only by the child's exit
// status 127 (POSIX allows it, and qemu-user does it), which would make the
// helper's fault the picture's.
int CannotStart(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? rt::kFileNotFound : rt::kPathFileAccessError;
  if (!S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0) return rt::kPathFileAccessError;
  return 0;
}

}  // namespace

void SetPictureDecoderPath(std::string path) { HelperPath() = std::move(path); }
const std::string& PictureDecoderPath() { return HelperPath(); }

std::optional<PictureData> DecodeInHelper(std::span<const unsigned char> bytes) {
  if (!PassesPictureChecks(bytes)) return std::nullopt;
  const std::string& path = HelperPath();
  if (const int error = CannotStart(path)) rt::Raise(error, path);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDecodeTimeoutMs);
  rt::UniqueFd input(::memfd_create("picture", MFD_CLOEXEC));
  if (input.get() < 0 || !rt::WriteAll(input.get(), bytes.data(), bytes.size()) || ::lseek(input.get(), 0, SEEK_SET) != 0)
    return std::nullopt;
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return std::nullopt;
  rt::UniqueFd from_helper(pipe_fds[0]), to_parent(pipe_fds[1]);

  // Nothing is inherited but the two ends: the file on standard input, the
  // pipe on standard output, and standard error goes nowhere.
  pid_t pid = 0;
  const int spawned = rt::SpawnHelper(path, {.in = input.get(), .out = to_parent.get()}, pid);
  if (spawned != 0) rt::Raise(spawned == ENOENT || spawned == ENOTDIR ? rt::kFileNotFound : rt::kPathFileAccessError, path);
  to_parent.reset();
  input.reset();

  std::vector<unsigned char> answer;
  const bool complete = ReadAnswer(from_helper.get(), pid, deadline, answer);
  ::kill(pid, SIGKILL);  // harmless when it has exited; it cannot be reaped twice
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;

  PictureData picture;
  picture.width = static_cast<int>(rt::Le32(answer, 4));
  picture.height = static_cast<int>(rt::Le32(answer, 8));
  picture.argb.resize(static_cast<std::size_t>(picture.width) * picture.height);
  std::memcpy(picture.argb.data(), answer.data() + kHeaderBytes, picture.argb.size() * 4);
  return picture;
}

int RunPictureDecoder(int in_fd, int out_fd) {
  LimitSelf();
  std::vector<unsigned char> bytes;
  if (rt::ReadAll(in_fd, kMaxPictureFileBytes, bytes) != 0) return 1;
  const auto picture = DecodePictureBytes(bytes);
  if (!picture) return 1;
  unsigned char header[kHeaderBytes];
  std::memcpy(header, kMagic, 4);
  for (int k = 0; k < 4; ++k) {
    header[4 + k] = static_cast<unsigned char>(static_cast<std::uint32_t>(picture->width) >> (8 * k));
    header[8 + k] = static_cast<unsigned char>(static_cast<std::uint32_t>(picture->height) >> (8 * k));
  }
  const auto* pixels = reinterpret_cast<const unsigned char*>(picture->argb.data());
  if (!rt::WriteAll(out_fd, header, sizeof header) || !rt::WriteAll(out_fd, pixels, picture->argb.size() * 4)) return 1;
  return 0;
}

}  // namespace pic
