/* Preloaded by the lifecycle tests: every open of a SoundFont (a path ending
   in ".sf2") waits RADADED_SLOW_OPEN_SECONDS first, as on a slow or network
   disk. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void Wait(const char* path) {
  const size_t n = path ? strlen(path) : 0;
  const char* seconds = getenv("RADADED_SLOW_OPEN_SECONDS");
  if (n > 4 && strcmp(path + n - 4, ".sf2") == 0) sleep(seconds ? (unsigned)atoi(seconds) : 8u);
}

FILE* fopen(const char* path, const char* mode) {
  static FILE* (*real)(const char*, const char*);
  if (!real) *(void**)(&real) = dlsym(RTLD_NEXT, "fopen");  /* POSIX's way to a function from dlsym */
  Wait(path);
  return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  static FILE* (*real)(const char*, const char*);
  if (!real) *(void**)(&real) = dlsym(RTLD_NEXT, "fopen64");  /* POSIX's way to a function from dlsym */
  Wait(path);
  return real(path, mode);
}
