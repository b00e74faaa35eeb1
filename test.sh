#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRADADED_SANITIZE=ON >/dev/null
cmake --build "$build"
# Where the program keeps the reader's place: the build's, not the user's.
export XDG_STATE_HOME="$build/state"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
