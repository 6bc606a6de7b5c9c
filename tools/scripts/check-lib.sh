# Shared by the scripts that check a build (tests/linux/run.sh,
# tests/windows/run.sh, tools/scripts/test-web.sh): the count of checks
# passed and failed, and a private X server with a window manager. Sourced.

passed=0
failed=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

# Starts Xvfb on a free display (1280x1024) and openbox on it, with SDL's
# dummy audio for what runs there; sets DISPLAY, xvfb_pid and wm_pid (the
# caller's clean-up stops them). $1: a folder for the server's display number.
start_x_session() {
  exec 3> "$1/display.txt"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$1/display.txt" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$1/display.txt")
  export SDL_AUDIODRIVER=dummy
  openbox --sm-disable > /dev/null 2>&1 &
  wm_pid=$!
  sleep 1
}
