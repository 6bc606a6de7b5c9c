#!/usr/bin/env bash
# Tests of the WebAssembly build against the native one:
#  1. demo_capture.js under Node writes the same frame files and soundtrack
#     as the native demo_capture, composes the golden frames, refuses
#     --video with a clear message, and ends on an empty or damaged music
#     file with the native program's messages and exit code; its stops, data
#     folder, messages and outputs, and the progress bar's width
#     (test-web-capture.sh);
#  2. the page in headless Chromium, check mode: the hashes of frames in the
#     show, the jitter and the fade are those of the native frames; a bad
#     fragment is refused; opened as a file the page says to serve it over
#     HTTP; a music file that cannot start is reported with a reload hint;
#  3. the page in headless Chromium, playing (web-play-test.js): the loading
#     bar is full when Start is enabled, the picture is not blank, the
#     scroller moves between two moments, the screen wake lock is held during
#     the show, Escape ends the show and Start plays it again;
#  4. on an emulated phone (web-phone-test.js): the page fits, a tap on Start
#     plays with sound, the frame stays 4:3 upright and sideways;
#  5. installing and offline use (web-offline-test.js): the manifest and its
#     icons, the service worker, the check mode offline, a new build's cache.
#   test-web.sh NATIVE_BUILD WEB_BUILD
set -uo pipefail
native=$(cd "${1:-build}" && pwd)
web=$(cd "${2:-build-web}" && pwd)
export NODE_PATH=/usr/share/nodejs
work=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=check-lib.sh
. "$(dirname "$0")/check-lib.sh"

# ---- 1. The capture tool under Node ----------------------------------------
# At 10 fps: frame 0 starts the show, 520 (52 s) jitters, 1520 (152 s) fades.
node_frames=0,520,1520
(cd "$native/bin" && ./demo_capture --fps 10 --raw --frames "$work/native10" --only $node_frames \
   --wav "$work/native.wav") > "$work/native10.log" 2>&1 || fail "native capture at 10 fps: $(cat "$work/native10.log")"
start=$(date +%s)
if (cd "$web/bin" && node --no-experimental-fetch demo_capture.js --fps 10 --raw --frames "$work/wasm10" \
      --only $node_frames --wav "$work/wasm.wav") > "$work/wasm10.log" 2>&1; then
  echo "wasm capture under Node: $(($(date +%s) - start)) s"
  for k in ${node_frames//,/ }; do
    name=$(printf 'frame_%05d.raw' "$k")
    if cmp -s "$work/native10/$name" "$work/wasm10/$name"; then
      pass "Node capture frame $k is byte-identical"
    else
      fail "Node capture frame $k differs from the native one"
    fi
  done
  if cmp -s "$work/native.wav" "$work/wasm.wav"; then
    pass "Node capture soundtrack is byte-identical"
  else
    fail "Node capture soundtrack differs from the native one"
  fi
else
  fail "wasm capture under Node: $(cat "$work/wasm10.log")"
fi
# The WAV gets the usual mode (0666 less the umask), and with standard error
# in a file no progress bar is drawn.
mode=$(cd "$web/bin" && umask 022 && node --no-experimental-fetch demo_capture.js --fps 1 --wav "$work/mode.wav" \
         2> "$work/mode.log" && stat -c %a "$work/mode.wav")
if [ "$mode" = 644 ]; then
  pass "Node capture's WAV has mode 644 under umask 022"
else
  fail "Node capture's WAV mode: '$mode' ($(cat "$work/mode.log"))"
fi
if [ "$(grep -c $'\r' "$work/mode.log")" -eq 0 ] && [ "$(wc -l < "$work/mode.log")" -eq 1 ]; then
  pass "Node capture draws no progress bar into a file"
else
  fail "Node capture's standard error in a file: $(od -c "$work/mode.log" | head -n 5)"
fi

# The golden frames of every frame rate (the jitter and the fade among them):
# the SIMD code paths of the wasm build against the committed hashes.
golden="$(dirname "$0")/../../tests/scene/golden_frames.txt"
for fps in $(awk '!/^#/ { print $1 }' "$golden" | sort -un); do
  only=$(awk -v fps="$fps" '!/^#/ && $1 == fps { printf "%s%s", sep, $2; sep = "," }' "$golden")
  if (cd "$web/bin" && node --no-experimental-fetch demo_capture.js --fps "$fps" --raw \
        --frames "$work/golden$fps" --only "$only") > "$work/golden$fps.log" 2>&1; then
    differing=""
    while read -r _ k hash; do
      got=$(sha256sum "$work/golden$fps/$(printf 'frame_%05d.raw' "$k")" | cut -d' ' -f1)
      [ "$got" = "$hash" ] || differing+=" $k"
    done < <(awk -v fps="$fps" '!/^#/ && $1 == fps' "$golden")
    if [ -z "$differing" ]; then
      pass "Node capture at $fps fps composes the golden frames $only"
    else
      fail "Node capture at $fps fps: frames$differing differ from the golden hashes"
    fi
  else
    fail "wasm capture at $fps fps: $(cat "$work/golden$fps.log")"
  fi
done
(cd "$web/bin" && node --no-experimental-fetch demo_capture.js --video "$work/demo.mp4") > "$work/video.log" 2>&1
code=$?
if [ "$code" -eq 1 ] && grep -q "needs the native build" "$work/video.log" && [ ! -e "$work/demo.mp4" ]; then
  pass "Node capture refuses --video with a clear message"
else
  fail "Node capture --video: exit $code, $(cat "$work/video.log")"
fi

# An empty or damaged music file: libopenmpt's own errors reach the capture
# as natively (the music named, exit 1), not as an uncaught wasm exception.
mkdir -p "$work/badmusic"
for f in welt.raw flare.raw flare2.raw font.raw; do cp "$native/bin/$f" "$work/badmusic/"; done
for size in 0 60 400 5000; do
  head -c "$size" "$native/bin/qzt_dmbl.xm" > "$work/badmusic/qzt_dmbl.xm"
  (cd "$work/badmusic" && "$native/bin/demo_capture" --fps 1 --wav "$work/bad-native.wav") \
    > "$work/bad-native.out" 2> "$work/bad-native.err"
  native_code=$?
  (cd "$work/badmusic" && node --no-experimental-fetch "$web/bin/demo_capture.js" --fps 1 \
     --wav "$work/bad-wasm.wav") > "$work/bad-wasm.out" 2> "$work/bad-wasm.raw-err"
  code=$?
  # Each names itself as started: demo_capture.js under Node.
  sed 's/^demo_capture\.js: /demo_capture: /' "$work/bad-wasm.raw-err" > "$work/bad-wasm.err"
  if [ "$code" -eq "$native_code" ] && [ "$code" -eq 1 ] && cmp -s "$work/bad-native.out" "$work/bad-wasm.out" &&
     cmp -s "$work/bad-native.err" "$work/bad-wasm.err" && grep -q qzt_dmbl.xm "$work/bad-wasm.err"; then
    pass "Node capture with a music file of $size bytes: exit 1 and the native messages"
  else
    fail "Node capture with a music file of $size bytes: exit $code (native $native_code)," \
      "[$(cat "$work/bad-wasm.out" "$work/bad-wasm.err")] against [$(cat "$work/bad-native.out" "$work/bad-native.err")]"
  fi
done

# shellcheck source=test-web-capture.sh
. "$(dirname "$0")/test-web-capture.sh"

# ---- The site on a local port ----------------------------------------------
# A copy, which the offline test changes to stand for a new build.
cp -r "$web/site" "$work/site"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
(cd "$work/site" && exec python3 -m http.server "$port" --bind 127.0.0.1) > "$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
  sleep 0.2
done
base="http://127.0.0.1:$port/index.html"
chrome=(chromium --headless=new --no-sandbox --disable-gpu --autoplay-policy=no-user-gesture-required
  --user-data-dir="$work/chrome-profile")

# ---- 2. Check mode against the native frames --------------------------------
# At 50 fps: frame 0 starts the show, 2600 (52 s) jitters, 7600 (152 s) fades.
check_frames=0,2600,7600
(cd "$native/bin" && ./demo_capture --fps 50 --raw --frames "$work/native50" --only $check_frames) \
  > "$work/native50.log" 2>&1 || fail "native capture at 50 fps: $(cat "$work/native50.log")"
expected=""
for k in ${check_frames//,/ }; do
  expected+="$k $(sha256sum "$work/native50/$(printf 'frame_%05d.raw' "$k")" | cut -d' ' -f1)"$'\n'
done
start=$(date +%s)
timeout 600 "${chrome[@]}" --virtual-time-budget=240000 --dump-dom "$base#frames=$check_frames&fps=50" \
  > "$work/check.html" 2> "$work/check.log"
echo "check mode in Chromium: $(($(date +%s) - start)) s"
got=$(python3 - "$work/check.html" <<'EOF'
import html, re, sys
page = open(sys.argv[1], encoding="utf-8").read()
title = re.search(r"<title>(.*?)</title>", page, re.S)
hashes = re.search(r'<pre id="frame-hashes"[^>]*>(.*?)</pre>', page, re.S)
print("title=" + (title.group(1) if title else ""))
print(html.unescape(hashes.group(1)) if hashes else "", end="")
EOF
)
if [ "$(head -n1 <<<"$got")" = "title=done" ]; then
  pass "check mode finished (title done)"
else
  fail "check mode did not finish: $(head -n1 <<<"$got")"
fi
if [ "$(tail -n +2 <<<"$got")" = "${expected%$'\n'}" ]; then
  pass "check mode hashes of frames $check_frames equal the native frames'"
else
  fail "check mode hashes differ: got [$(tail -n +2 <<<"$got")] expected [$expected]"
fi

# A request outside the timeline, or with a key twice, is an error that says why.
check_error() {  # fragment expected-part
  timeout 120 "${chrome[@]}" --virtual-time-budget=20000 --dump-dom "$base#$1" > "$work/bad.html" 2> /dev/null
  if grep -q '<title>error</title>' "$work/bad.html" && grep -q "$2" "$work/bad.html"; then
    pass "check mode refuses #$1 ($2)"
  else
    fail "check mode #$1: $(grep -o '<title>[^<]*</title>\|<p id="status">[^<]*</p>' "$work/bad.html" | tr '\n' ' ')"
  fi
}
check_error "frames=9000&fps=50" "frames 0 to 8000 at 50 fps"
check_error "frames=0&frames=1&fps=50" "frames= given twice"
check_error "frames=0&fps=50&junk" "unknown part 'junk'"
check_error "frames=0&&fps=50" "an empty part"

# Opened from a file the browser fetches nothing; the page says what to do.
timeout 120 "${chrome[@]}" --virtual-time-budget=10000 --dump-dom "file://$work/site/index.html" \
  > "$work/file.html" 2> /dev/null
if grep -q 'only over HTTP' "$work/file.html"; then
  pass "the page opened as a file says to serve it over HTTP"
else
  fail "the page opened as a file: $(grep -o '<p id="status">[^<]*</p>' "$work/file.html")"
fi

# A site whose demo.data ends where the music file starts: the music is
# empty, Start reports that it could not start and how to load it again.
mkdir -p "$work/site/cut"
cp "$work/site/index.html" "$work/site/page.js" "$work/site/page.css" "$work/site/demo.js" "$work/site/demo.wasm" \
  "$work/site/cut/"
music_start=$(grep -o '"filename": *"/qzt_dmbl.xm", *"start": *[0-9]*' "$work/site/demo.js" | grep -o '[0-9]*$')
head -c "${music_start:-0}" "$work/site/demo.data" > "$work/site/cut/demo.data"
timeout 120 "${chrome[@]}" --virtual-time-budget=30000 --dump-dom "http://127.0.0.1:$port/cut/index.html#play" \
  > "$work/cut.html" 2> /dev/null
status=$(grep -o '<p id="status">[^<]*</p>' "$work/cut.html")
if [ -n "$music_start" ] && grep -q 'The music qzt_dmbl.xm (in demo.data) could not start: .*Reload the page' <<< "$status" &&
   grep -q '<button id="start" type="button" disabled' "$work/cut.html"; then
  pass "a music file that cannot start is reported on the page with a reload hint: $status"
else
  fail "the page with an empty music file (its data from byte ${music_start:-?}): $status"
fi

# ---- 3.-5. Driven through Chromium's debugging pipe ---------------------------
# Each prints PASS:/FAIL: lines; the screenshots are kept for a look.
scripts=$(dirname "$0")
run_driven() {
  local name=$1
  shift
  node "$scripts/$name" "$@" > "$work/$name.log" 2>&1
  cat "$work/$name.log"
  passed=$((passed + $(grep -c '^PASS:' "$work/$name.log")))
  failed=$((failed + $(grep -c '^FAIL:' "$work/$name.log")))
  if ! grep -q '^PASS:' "$work/$name.log" && ! grep -q '^FAIL:' "$work/$name.log"; then
    fail "$name reported nothing"
  fi
}
# Viewed as a viewer would: Start, two music moments, Escape, Start again.
run_driven web-play-test.js "$base" "$web/playing.png"
run_driven web-phone-test.js "$base" "$web/phone.png"
# The check at 10 fps against the native frames of part 1.
offline_frames=0,520
offline_expected=""
for k in ${offline_frames//,/ }; do
  offline_expected+="$k $(sha256sum "$work/native10/$(printf 'frame_%05d.raw' "$k")" | cut -d' ' -f1)"$'\n'
done
run_driven web-offline-test.js "$base" "$work/site" "$work/server.log" "$(cd "$scripts/../.." && pwd)" \
  "frames=$offline_frames&fps=10" "$offline_expected"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
