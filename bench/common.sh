# Shared by the benchmark scripts: builds the program if it is not there yet
# and starts Xvfb. Expects `root` and `program` set; sets `pid` and
# `xvfb_pid` for the caller's cleanup.
if [[ ! -x "$program" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" --target radaded2k radaded2k-picture-decoder >/dev/null
fi
source "$root/tools/xvfb.sh"
pid=""
xvfb_pid=""

# cpu_over PID SECONDS: prints the share of one core PID uses over the next
# SECONDS (percent) and its resident memory then (kB).
cpu_over() {
  local ticks before after rss
  ticks=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$1/stat")
  sleep "$2"
  after=$(awk '{print $14 + $15}' "/proc/$1/stat")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$1/status")
  awk -v a="$after" -v b="$before" -v t="$ticks" -v s="$2" -v r="$rss" 'BEGIN { printf "%.2f %d\n", 100 * (a - b) / t / s, r }'
}
