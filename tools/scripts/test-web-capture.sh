# shellcheck shell=bash disable=SC2154
# The Node capture's stops, data folder, messages and outputs, and the
# progress bar's width on a terminal (native and Node). Sourced by
# test-web.sh after its part 1, with native, web, work, pass and fail set;
# $work/native10 holds the native frames 0, 520 and 1520 at 10 fps.

capture_js="$web/bin/demo_capture.js"
node_capture() { node --no-experimental-fetch "$capture_js" "$@"; }
wait_for_name() {  # folder pattern seconds
  for _ in $(seq $((${3} * 10))); do
    compgen -G "$1/$2" > /dev/null && return 0
    sleep 0.1
  done
  return 1
}

# ---- Stopped by a signal: nothing left but the complete frames --------------
# Each signal during the soundtrack (its hidden file is there); SIGTERM also
# during the frames, where the complete frames stay and the one in the
# making goes.
stop_case() {  # signal stage(soundtrack|frames)
  local dir="$work/stop-$1-$2" code expected left
  mkdir -p "$dir"
  (cd "$dir" && exec node --no-experimental-fetch "$capture_js" --fps 30 --frames o --raw \
     --wav o.wav) > "$dir.log" 2>&1 &
  local pid=$!
  if [ "$2" = frames ]; then
    wait_for_name "$dir/o" "frame_00002.raw" 120
  else
    wait_for_name "$dir" ".o.wav.*" 120
  fi || fail "Node capture for SIG$1: no output began ($(cat "$dir.log"))"
  kill -s "$1" "$pid"
  wait "$pid"
  code=$?
  expected=$((128 + $(kill -l "$1")))
  # Anything but the frames folder with complete frames in it is left over.
  if [ "$2" = frames ]; then
    left=$(find "$dir" -mindepth 1 ! -path "$dir/o" ! \( -path "$dir/o/frame_*.raw" -size 1228800c \) -printf '%P ')
  else
    left=$(find "$dir" -mindepth 1 -printf '%P ')
  fi
  if [ "$code" -eq "$expected" ] && [ -z "$left" ]; then
    pass "Node capture stopped by SIG$1 during the $2: exit $code, nothing left but complete frames"
  else
    fail "Node capture stopped by SIG$1 during the $2: exit $code (expected $expected), left: $left"
  fi
}
for signal in INT HUP USR1; do stop_case "$signal" soundtrack; done
stop_case TERM frames

# ---- The data beside the script, from a folder without them -----------------
mkdir -p "$work/no-data"
if (cd "$work/no-data" && node_capture --fps 10 --raw --frames f --only 520) > "$work/no-data.log" 2>&1 &&
   ! grep -q missing "$work/no-data.log" && cmp -s "$work/no-data/f/frame_00520.raw" "$work/native10/frame_00520.raw"; then
  pass "Node capture from a folder without data reads the data beside demo_capture.js"
else
  fail "Node capture from a folder without data: $(cat "$work/no-data.log")"
fi

# ---- Refused before any work, with the reason; accepted names ---------------
outputs="$work/outputs"
mkdir -p "$outputs/fr/frame_00001.ppm" "$outputs/lnk" "$outputs/other"
echo plain > "$outputs/plain"
echo old > "$outputs/other/t.ppm"
ln -s ../other/t.ppm "$outputs/lnk/frame_00002.ppm"
echo old > "$outputs/p.wav"
chmod 600 "$outputs/p.wav"
refused_case() {  # code first-line-of-standard-error args...
  local code=$1 message=$2
  shift 2
  (cd "$outputs" && node_capture "$@") > "$work/refused.out" 2> "$work/refused.err"
  local got=$?
  if [ "$got" -eq "$code" ] && [ "$(head -n1 "$work/refused.err")" = "demo_capture.js: $message" ]; then
    pass "Node capture $*: exit $code, '$message'"
  else
    fail "Node capture $*: exit $got, $(head -n1 "$work/refused.err")"
  fi
}
refused_case 2 "cannot write frames into the folder '/sys/kernel': not a folder on an ordinary file system" \
  --fps 1 --frames /sys/kernel --only 0
refused_case 2 "nothing to write: give --frames, --wav or --video" --fps 1
refused_case 2 "cannot write the frame file 'fr/frame_00001.ppm': Is a directory" --fps 1 --frames fr --only 1,3
refused_case 2 "cannot write the soundtrack file 'plain/a.wav': Not a directory" --fps 1 --wav plain/a.wav
if [ ! -e "$outputs/fr/frame_00003.ppm" ] && (cd "$outputs" && node_capture --help | head -n1) |
   grep -qx 'usage: demo_capture.js \[--fps N\] .*'; then
  pass "Node capture names itself by its script in the usage"
else
  fail "Node capture's usage: $(cd "$outputs" && node_capture --help 2>&1 | head -n1)"
fi
(cd "$outputs" && node_capture --help > /dev/full 2> "$work/full.err")
code=$?
if [ "$code" -eq 1 ] && grep -q "cannot write the help text" "$work/full.err"; then
  pass "Node capture's help into a full device is exit 1"
else
  fail "Node capture's help into a full device: exit $code, $(cat "$work/full.err")"
fi
if (cd "$outputs" && node_capture --fps 1 --frames new/ --only 3 --wav p.wav &&
    node_capture --fps 1 --frames lnk --only 2) > "$work/accepted.log" 2>&1 &&
   [ -f "$outputs/new/frame_00003.ppm" ] && [ -L "$outputs/lnk/frame_00002.ppm" ] &&
   [ "$(stat -c %s "$outputs/other/t.ppm")" = 921615 ] && [ "$(stat -c %a "$outputs/p.wav")" = 600 ]; then
  pass "Node capture takes 'new/', writes through a frame's link, keeps a replaced file's mode 600"
else
  fail "Node capture's accepted outputs: $(cat "$work/accepted.log"; ls -l "$outputs" "$outputs/lnk")"
fi

# ---- A frames folder moved during the run -----------------------------------
mkdir -p "$work/move/gone"
(cd "$work/move" && exec node --no-experimental-fetch "$capture_js" --fps 10 --raw --frames gone/f \
   --only 3,800,1600) > "$work/move.log" 2>&1 &
pid=$!
wait_for_name "$work/move/gone/f" "frame_00003.raw" 120
mv "$work/move/gone" "$work/move/moved"
wait "$pid"
code=$?
moved=$(find "$work/move/moved/f" -mindepth 1 -printf '%P\n' | sort | tr '\n' ' ')
if [ "$code" -eq 0 ] && [ "$moved" = "frame_00003.raw frame_00800.raw frame_01600.raw " ]; then
  pass "Node capture into a frames folder moved during the run keeps every frame and no temporary file"
else
  fail "Node capture into a moved frames folder: exit $code, $moved $(cat "$work/move.log")"
fi

# ---- The progress bar on an 80-column terminal ------------------------------
# Every drawing of the bar fits in 79 columns, so no line is ever added.
bar_width_case() {  # name folder command...
  local name=$1 folder=$2
  shift 2
  local verdict
  verdict=$(cd "$folder" && python3 - "$@" <<'PY'
import os, pty, struct, fcntl, termios, sys
pid, fd = pty.fork()
if pid == 0:
    fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 80, 0, 0))
    os.execvp(sys.argv[1], sys.argv[1:])
data = b""
while True:
    try:
        chunk = os.read(fd, 65536)
    except OSError:
        break
    if not chunk:
        break
    data += chunk
_, status = os.waitpid(pid, 0)
text = data.decode("utf-8", "replace").replace("\r\n", "\n")  # the terminal's own line ends
bar = text[:text.rfind("\r")]  # what follows is the summary line
widest = max(len(drawing) for drawing in bar.split("\r"))
ok = os.WEXITSTATUS(status) == 0 and "\n" not in bar and widest <= 79 and bar.count("frame ") > 1
print("ok" if ok else "exit %d, widest %d, new lines %d" % (os.WEXITSTATUS(status), widest, bar.count("\n")))
PY
)
  if [ "$verdict" = ok ]; then
    pass "$name's progress bar stays on one line of an 80-column terminal"
  else
    fail "$name's progress bar on an 80-column terminal: $verdict"
  fi
}
mkdir -p "$work/bar"
bar_width_case "native capture" "$native/bin" ./demo_capture --fps 60 --frames "$work/bar/native" --only 0
bar_width_case "Node capture" "$web/bin" node --no-experimental-fetch demo_capture.js --fps 60 --frames "$work/bar/node" --only 0
