# Toolchain for another Debian architecture: Debian's cross compiler, the
# libraries of a sysroot made by tools/cross-sysroot.sh, and qemu-user to run
# what is built (test discovery, ctest). tools/cross-build.sh uses it as
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/debian-cross.cmake -DRADADED_CROSS_ARCH=arm64 -DRADADED_SYSROOT=DIR
set(CMAKE_SYSTEM_NAME Linux)
# try_compile reads this file again, in projects of its own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RADADED_CROSS_ARCH RADADED_SYSROOT)

if(RADADED_CROSS_ARCH STREQUAL "arm64")
  set(CMAKE_SYSTEM_PROCESSOR aarch64)
  set(_triple aarch64-linux-gnu)
  set(_qemu qemu-aarch64-static)
elseif(RADADED_CROSS_ARCH STREQUAL "s390x")
  set(CMAKE_SYSTEM_PROCESSOR s390x)
  set(_triple s390x-linux-gnu)
  set(_qemu qemu-s390x-static)
else()
  message(FATAL_ERROR "RADADED_CROSS_ARCH must be arm64 or s390x, not '${RADADED_CROSS_ARCH}'")
endif()
if(NOT IS_DIRECTORY "${RADADED_SYSROOT}/usr/lib/${_triple}")
  message(FATAL_ERROR "RADADED_SYSROOT '${RADADED_SYSROOT}' holds no ${_triple} libraries (tools/cross-sysroot.sh makes one)")
endif()

set(CMAKE_C_COMPILER ${_triple}-gcc)
set(CMAKE_CXX_COMPILER ${_triple}-g++)
set(CMAKE_SYSROOT ${RADADED_SYSROOT})
set(CMAKE_LIBRARY_ARCHITECTURE ${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${RADADED_SYSROOT})
# libunibreak keeps its files in lib/, not in lib/${_triple}/.
set(ENV{PKG_CONFIG_LIBDIR} ${RADADED_SYSROOT}/usr/lib/${_triple}/pkgconfig:${RADADED_SYSROOT}/usr/lib/pkgconfig:${RADADED_SYSROOT}/usr/share/pkgconfig)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_qemu} -L ${RADADED_SYSROOT})
