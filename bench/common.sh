# Shared by the benchmark scripts: builds the program if it is not there yet
# and brings in tools/xvfb.sh. Expects `root` and `program` set.
if [[ ! -x "$program" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" --target radaded2k radaded2k-picture-decoder >/dev/null
fi
source "$root/tools/xvfb.sh"

# cpu_ns PID: nanoseconds on a CPU so far, summed over the process's threads
# (the clock-tick figures of /proc/PID/stat are too coarse for a program
# that uses a tenth of a percent: one tick in 20 s is 0.05%).
cpu_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}

# cpu_over PID SECONDS: prints the share of one core PID uses over the next
# SECONDS (percent) and its resident memory then (kB). The threads of a
# waiting program live throughout, so none takes its time away with it.
cpu_over() {
  local before after rss
  before=$(cpu_ns "$1")
  sleep "$2"
  after=$(cpu_ns "$1")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$1/status")
  awk -v a="$after" -v b="$before" -v s="$2" -v r="$rss" 'BEGIN { printf "%.3f %d\n", 100 * (a - b) / 1e9 / s, r }'
}
