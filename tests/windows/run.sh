#!/usr/bin/env bash
# The Windows build's tests under Wine, against the native Linux build:
#   1. the Windows unit tests (ctest in the Windows build folder),
#   2. the data files the generator wrote under Wine, byte for byte,
#   3. demo_capture.exe: raw frames of the show, jitter and fade phases, the
#      WAV, and the video pipe into a stand-in encoder, byte for byte; a
#      capture stopped by Ctrl+C leaves no file,
#   4. demo_windowed.exe on a private X server: a window with a picture,
#      zoom key 2, Escape ends it with exit code 0, and its messages are the
#      native program's bytes.
#   run.sh NATIVE_BUILD WINDOWS_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$root/build}" && pwd)
windows=$(cd "${2:-$root/build-windows}" && pwd)
export WINEPREFIX=$windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=/usr/lib/wine/wine64
scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-windows-test.XXXXXX")
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# shellcheck source=../../tools/scripts/check-lib.sh
. "$root/tools/scripts/check-lib.sh"
check_same() {  # what file1 file2
  if cmp -s "$2" "$3"; then pass "$1"; else fail "$1 ($2 and $3 differ)"; fi
}
seconds_since() { echo "$(( $(date +%s%N) / 1000000 - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

echo "== unit tests under Wine"
if ctest --test-dir "$windows" --output-on-failure -j2; then pass "unit tests"; else fail "unit tests"; fi

echo "== data files"
mapfile -t data_files < "$root/tools/data-files.txt"
for f in "${data_files[@]}"; do
  check_same "$f as on Linux" "$native/bin/$f" "$windows/bin/$f"
done

echo "== demo_capture.exe"
only=0,2600,7600
mkdir -p "$scratch/linux" "$scratch/win" "$scratch/fake ffmpeg" "$scratch/video out" "$scratch/encoder"
start=$(now_ms)
(cd "$native/bin" && ./demo_capture --fps 50 --frames "$scratch/linux/frames" --raw --only $only \
   --wav "$scratch/linux/demo.wav" 2>"$scratch/linux/err.txt")
native_s=$(seconds_since "$start")
echo "native capture: $native_s s"

winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
start=$(now_ms)
set +e
(cd "$windows/bin" && "$wine" demo_capture.exe --fps 50 --frames "$(winpath "$scratch/win/frames")" --raw \
   --only $only --wav "$(winpath "$scratch/win/demo.wav")" 2>"$scratch/win/err.txt")
rc=$?
set -e
wine_s=$(seconds_since "$start")
echo "Wine capture: $wine_s s"
if [ $rc -eq 0 ]; then pass "demo_capture.exe exit code 0"; else fail "demo_capture.exe exit code $rc: $(cat "$scratch/win/err.txt")"; fi
for k in 0 2600 7600; do
  name=$(printf 'frame_%05d.raw' $k)
  check_same "frame $k" "$scratch/linux/frames/$name" "$scratch/win/frames/$name"
done
check_same "WAV file" "$scratch/linux/demo.wav" "$scratch/win/demo.wav"
if [ "$(ls "$scratch/win/frames" | tr '\n' ' ')" = "frame_00000.raw frame_02600.raw frame_07600.raw " ]; then
  pass "only the chosen frames written"
else
  fail "frame files: $(ls "$scratch/win/frames" | tr '\n' ' ')"
fi

# The video pipe, at 10 fps to keep the gigabytes through Wine's pipe few:
# the stand-in encoder (the test program pipe_recorder under ffmpeg's name,
# found through PATH) keeps three of the frames it is given and a copy of the
# soundtrack file; the output goes to a folder with a space in its name. The
# default video gets the frames as fitted 4:2:0 planes (640x480: 460800
# bytes), which must be those the native capture hands its encoder.
only10=0,520,1520
planes=460800
mkdir -p "$scratch/linux fake ffmpeg" "$scratch/linux encoder"
ln -s "$native/bin/pipe_recorder" "$scratch/linux fake ffmpeg/ffmpeg"
(cd "$native/bin" && PATH="$scratch/linux fake ffmpeg:$PATH" PIPE_RECORDER_DIR="$scratch/linux encoder" \
   PIPE_RECORDER_FRAME=$planes PIPE_RECORDER_KEEP=$only10 ./demo_capture --fps 10 \
   --video "$scratch/linux/demo10.mp4" --wav "$scratch/linux/demo10.wav" 2>"$scratch/linux/err10.txt")
frames10=$(sed -n 's/^demo_capture: \([0-9]*\) frames at.*/\1/p' "$scratch/linux/err10.txt")
cp "$windows/bin/pipe_recorder.exe" "$scratch/fake ffmpeg/ffmpeg.exe"
cp "$windows/bin/libwinpthread-1.dll" "$scratch/fake ffmpeg/"
set +e
(cd "$windows/bin" && WINEPATH="$(winpath "$scratch/fake ffmpeg")" \
   PIPE_RECORDER_DIR="$(winpath "$scratch/encoder")" PIPE_RECORDER_FRAME=$planes PIPE_RECORDER_KEEP=$only10 \
   "$wine" demo_capture.exe --fps 10 --video "$(winpath "$scratch/video out/demo.mp4")" \
   2>"$scratch/win/err10.txt")
rc=$?
set -e
if [ $rc -eq 0 ]; then pass "--video exit code 0"; else fail "--video exit code $rc: $(cat "$scratch/win/err10.txt")"; fi
for k in 0 520 1520; do
  name=$(printf 'frame_%05d.raw' $k)
  check_same "frame $k at 10 fps through the video pipe" "$scratch/linux encoder/$name" "$scratch/encoder/$name"
done
check_same "soundtrack handed to the encoder" "$scratch/linux/demo10.wav" "$scratch/encoder/input_1"
if [ -n "$frames10" ] && grep -qx "$frames10 frames, 0 bytes over" "$scratch/encoder/frames.txt" 2>/dev/null; then
  pass "all $frames10 frames whole through the pipe"
else
  fail "frames through the pipe: $(cat "$scratch/encoder/frames.txt" 2>/dev/null), expected ${frames10:-?}"
fi
if [ -f "$scratch/video out/demo.mp4" ]; then pass "video file written"; else fail "no video file"; fi

# An encoder that stops reading at once: exit code 1 and its own message.
set +e
(cd "$windows/bin" && WINEPATH="$(winpath "$scratch/fake ffmpeg")" \
   PIPE_RECORDER_DIR="$(winpath "$scratch/encoder")" PIPE_RECORDER_READ=0 PIPE_RECORDER_EXIT=1 \
   PIPE_RECORDER_SAY="Unknown encoder 'libx264'" \
   "$wine" demo_capture.exe --fps 50 --video "$(winpath "$scratch/video out/broken.mp4")" \
   2>"$scratch/win/broken.txt")
rc=$?
set -e
if [ $rc -eq 1 ] && grep -qx "demo_capture: ffmpeg failed: Unknown encoder 'libx264'" "$scratch/win/broken.txt" &&
   [ "$(ls -A "$scratch/video out")" = "demo.mp4" ]; then
  pass "a failing encoder ends the capture with exit code 1: $(head -n1 "$scratch/win/broken.txt")"
else
  fail "failing encoder: exit code $rc, $(cat "$scratch/win/broken.txt"), in the folder: $(ls -A "$scratch/video out" | tr '\n' ' ')"
fi

# A file in a folder that does not exist, written the Windows way: a bad argument.
set +e
(cd "$windows/bin" && "$wine" demo_capture.exe --wav "$(winpath "$scratch")\\no such folder\\x.wav" \
   2>"$scratch/win/missing.txt")
rc=$?
set -e
if [ $rc -eq 2 ] && grep -q "x.wav': No such file or directory$" "$scratch/win/missing.txt"; then
  pass "a missing folder in a Windows path is refused with the reason"
else
  fail "missing folder: exit code $rc, $(head -n1 "$scratch/win/missing.txt")"
fi

# The usage names the program as started, without ".exe"; no output at all
# and a frame file that is a folder are refused before any work; a frames
# folder named with a backslash at its end is made.
mkdir -p "$scratch/fd/frame_00001.ppm"
win_capture_case() {  # code expected-first-line args...
  local code=$1 line=$2 rc
  shift 2
  set +e
  (cd "$windows/bin" && "$wine" demo_capture.exe "$@" > "$scratch/win/case.out" 2> "$scratch/win/case.err")
  rc=$?
  set -e
  local first
  first=$(cat "$scratch/win/case.out" "$scratch/win/case.err" | head -n1)
  if [ $rc -eq "$code" ] && { [ -z "$line" ] || [ "$first" = "$line" ]; }; then
    pass "demo_capture.exe $*: exit code $code"
  else
    fail "demo_capture.exe $*: exit code $rc, $first"
  fi
}
win_capture_case 0 "usage: demo_capture [--fps N] [--frames DIR [--raw] [--only K1,K2,...]] [--wav FILE]" --help
win_capture_case 2 "demo_capture: nothing to write: give --frames, --wav or --video" --fps 1
win_capture_case 2 "demo_capture: cannot write the frame file '$(winpath "$scratch/fd")/frame_00001.ppm': Is a directory" \
  --fps 1 --frames "$(winpath "$scratch/fd")" --only 1,3
win_capture_case 0 "" --fps 1 --frames "$(winpath "$scratch")\\slash\\" --only 3
if [ -f "$scratch/slash/frame_00003.ppm" ] && [ ! -e "$scratch/fd/frame_00003.ppm" ]; then
  pass "frames into 'slash\\' written, none beside a frame file that is a folder"
else
  fail "frames folder with a backslash at its end: $(ls -A "$scratch/slash" "$scratch/fd" | tr '\n' ' ')"
fi

# An output that one of the run's frame files would overwrite, in any case
# of its name: a bad argument, and nothing written.
mkdir -p "$scratch/fz"
set +e
(cd "$windows/bin" && "$wine" demo_capture.exe --fps 1 --frames "$(winpath "$scratch/fz")" --only 0,1 \
   --wav "$(winpath "$scratch/fz")\\FRAME_00001.PPM" 2>"$scratch/win/frame_name.txt")
rc=$?
set -e
if [ $rc -eq 2 ] && grep -q "^demo_capture: --wav names the file of frame 1, which --frames writes" \
     "$scratch/win/frame_name.txt" && [ -z "$(ls -A "$scratch/fz")" ]; then
  pass "an output named like one of the run's frame files is refused"
else
  fail "output named like a frame file: exit code $rc, $(head -n1 "$scratch/win/frame_name.txt"), in the folder: $(ls -A "$scratch/fz")"
fi

# A name with a letter beyond ASCII, in a console (Wine's, on a terminal made
# by script): the file has the name, and the console shows the name as given,
# not the letter that the same byte is in the console's own code page.
mkdir -p "$scratch/console"
name=$'sp ace \xC3\xA4'
(cd "$windows/bin" && LC_ALL=C.UTF-8 script -qec \
   "'$wine' demo_capture.exe --fps 1 --only 0 --frames '$(winpath "$scratch/console")\\$name'" \
   "$scratch/win/console.txt" >/dev/null 2>&1) || true
if [ -d "$scratch/console/$name" ] && grep -q $'\xC3\xA4' "$scratch/win/console.txt" &&
   ! grep -q $'\xCE\xA3' "$scratch/win/console.txt"; then
  pass "a non-ASCII name is written and shown in the console as given"
else
  fail "non-ASCII name: folder $(ls "$scratch/console" | od -c | head -n 2 | tr '\n' ' '), console: $(grep -ao 'frame files in[^$]*' "$scratch/win/console.txt" | od -c | head -n 3 | tr '\n' ' ')"
fi

# Ctrl+C in the middle of a capture: Wine turns SIGINT into the console's
# Ctrl+C event. The stand-in encoder is ended, exit code 130, and nothing is
# left: no video, no WAV, no temporary file beside them or in the temporary folder.
mkdir -p "$scratch/stopped" "$scratch/encoder stopped"
find "$WINEPREFIX/drive_c" -name 'demo_capture_*' -delete 2>/dev/null || true
set +e
(cd "$windows/bin" && WINEPATH="$(winpath "$scratch/fake ffmpeg")" \
   PIPE_RECORDER_DIR="$(winpath "$scratch/encoder stopped")" PIPE_RECORDER_FRAME=1228800 \
   exec "$wine" demo_capture.exe --fps 50 --video "$(winpath "$scratch/stopped/demo.mp4")" \
   --wav "$(winpath "$scratch/stopped/demo.wav")" 2>"$scratch/win/stopped.txt") &
capture_pid=$!
for _ in $(seq 300); do [ -f "$scratch/encoder stopped/args.txt" ] && break; sleep 0.1; done
sleep 1
kill -INT "$capture_pid" 2>/dev/null
rc=timeout
for _ in $(seq 150); do
  if ! kill -0 "$capture_pid" 2>/dev/null; then wait "$capture_pid"; rc=$?; break; fi
  sleep 0.2
done
[ "$rc" = timeout ] && { kill "$capture_pid" 2>/dev/null; wait "$capture_pid" 2>/dev/null; }
set -e
left=$( (ls -A "$scratch/stopped"; find "$WINEPREFIX/drive_c" -name 'demo_capture_*' 2>/dev/null) | tr '\n' ' ')
if [ ! -f "$scratch/encoder stopped/args.txt" ]; then
  fail "Ctrl+C: the encoder never started: $(cat "$scratch/win/stopped.txt")"
elif [ "$rc" = 130 ] && [ -z "$left" ]; then
  pass "Ctrl+C ends the capture with exit code 130 and leaves nothing"
else
  fail "Ctrl+C: exit code $rc, left: ${left:-nothing}; $(cat "$scratch/win/stopped.txt")"
fi

echo "== demo_windowed.exe under Xvfb"
start_x_session "$scratch"

# Runs a demo program, waits for its window, takes the screen, presses 2, then
# Escape; prints the exit code. $1: name of the run, the rest: the command.
run_windowed() {
  local run=$1
  shift
  "$@" >"$scratch/$run.out" 2>"$scratch/$run.err" &
  local pid=$! window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^test$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "no-window"
    return
  fi
  sleep 3
  import -window root "$scratch/$run.png" 2>/dev/null || true
  xdotool getwindowgeometry "$window" > "$scratch/$run.geometry1" 2>/dev/null || true
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key 2
  sleep 2
  xdotool getwindowgeometry "$window" > "$scratch/$run.geometry2" 2>/dev/null || true
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key Escape
  local rc=timeout
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e; wait "$pid"; rc=$?; set -e
      break
    fi
    sleep 0.2
  done
  if [ "$rc" = timeout ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  echo "$rc"
}
window_width() { awk '/Geometry:/ {split($2, a, "x"); print a[1]}' "$1" 2>/dev/null; }

linux_rc=$(cd "$native/bin" && run_windowed linux ./demo_windowed)
win_rc=$(cd "$windows/bin" && run_windowed windows "$wine" demo_windowed.exe)
if [ "$win_rc" = 0 ]; then pass "Escape ends demo_windowed.exe with exit code 0"; else fail "demo_windowed.exe: $win_rc"; fi
if [ -f "$scratch/windows.png" ]; then
  colours=$(identify -format '%k' "$scratch/windows.png")
  if [ "$colours" -gt 64 ]; then pass "a picture on the screen ($colours colours)"; else fail "the screen is blank ($colours colours)"; fi
else
  fail "no screen shot"
fi
w1=$(window_width "$scratch/windows.geometry1"); w2=$(window_width "$scratch/windows.geometry2")
if [ -n "$w1" ] && [ -n "$w2" ] && [ "$w2" -ge $((2 * w1 - 16)) ]; then
  pass "zoom key 2: width $w1 to $w2"
else
  fail "zoom key 2: width ${w1:-?} to ${w2:-?}"
fi
if [ "$linux_rc" = 0 ] && cmp -s "$scratch/linux.out" "$scratch/windows.out" && [ -s "$scratch/windows.out" ]; then
  pass "the same messages as the Linux program ($(wc -c < "$scratch/windows.out") bytes)"
else
  fail "messages differ (Linux exit $linux_rc): $(od -c "$scratch/windows.out" | head -n 5)"
fi

echo "capture times: native $native_s s, Wine $wine_s s"
echo "windows: $passed passed, $failed failed"
[ $failed -eq 0 ]
