// Sanitizer settings built into sanitized builds, so that every way of running
// them (ctest, by hand, under Xvfb) checks the same things. The caches that
// system libraries keep for the life of the process are not our leaks.
extern "C" {

// No allocation here needs more than 64 MB: one of over 1 GB is a fault.
const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=1:max_allocation_size_mb=1024"; }

const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n"
         "leak:libX11\n"
         "leak:libdbus\n"
         "leak:libfreetype\n"
         "leak:libfluidsynth\n"
         "leak:libglib-2.0\n"
         // libspeechd's report of a failed autospawn, built by asprintf in a
         // library without frame pointers: only the C library's frame shows.
         "leak:__vasprintf_internal\n";
}

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
}
