# Sourced by the scripts that need a virtual display.
# Sets `pid` (for the program the caller starts) and `xvfb_pid` empty.
pid=""
xvfb_pid=""

# stop_all_on_exit [PATH...]: when the script exits, however it ends, the
# program and Xvfb are killed and the paths given removed.
stop_all_on_exit() {
  leftovers=("$@")
  trap '[[ -n "$pid" ]] && kill -9 "$pid" 2>/dev/null; [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null; rm -rf "${leftovers[@]}"; true' EXIT
}

# start_xvfb [WxHxD [XVFB_OPTION...]]: starts Xvfb on a free display
# (1024 x 768, 24 bits, unless told otherwise), exports DISPLAY and sets
# xvfb_pid (stop_all_on_exit kills it).
start_xvfb() {
  local fifo screen=${1:-1024x768x24}
  shift || true
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" "$@" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number=""
  read -r -t 10 number <"$fifo" || true
  rm -f "$fifo"
  if [[ -z "$number" ]]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# window_of PID [TITLE]: the id of the process's visible window (whose title
# begins with TITLE), waiting up to 10 s.
window_of() {
  local wid=""
  for _ in $(seq 200); do
    wid=$(xdotool search --all --onlyvisible --pid "$1" --name "^${2:-}" 2>/dev/null | head -1 || true)
    [[ -n "$wid" ]] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.05
  done
  echo "$wid"
}

# release_key WID KEY: focuses the window and presses and releases the key.
# (xdotool's --sync can wait in vain on a server with no window manager.)
release_key() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || timeout 5 xdotool windowfocus "$1" 2>/dev/null || true
  timeout 5 xdotool key --window "$1" "$2" 2>/dev/null || true
}

# first_page PROGRAM STORY TRACE [STDERR [OPTION...]]: starts PROGRAM (with
# the options given) on the story folder under Xvfb (with no sound card),
# tracing to TRACE, and waits up to 15 s for its first page of text; sets
# pid. Fails when it ends or time runs out first.
first_page() {
  SDL_AUDIODRIVER=dummy RADADED_NO_MESSAGE_BOX=1 ASAN_OPTIONS=detect_leaks=0 \
    "$1" "${@:5}" --trace "$3" "$2" 2>"${4:-/dev/null}" &
  pid=$!
  for _ in $(seq 300); do
    grep -q '"control":"Label1","prop":"Caption","value":"[^"]' "$3" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
