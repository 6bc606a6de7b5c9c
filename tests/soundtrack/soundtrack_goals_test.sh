#!/usr/bin/env bash
# Renders the whole soundtrack with demo_capture --wav (run from the folder
# of the data files) and measures it, with the module beside it for the
# figures per instrument; fails when a goal is missed.
#   soundtrack_goals_test.sh DEMO_CAPTURE MEASURE_SCRIPT
set -euo pipefail
capture=$1
measure=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/soundtrack-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$capture" --fps 10 --wav "$work/soundtrack.wav" 2>"$work/capture.log" || {
  cat "$work/capture.log" >&2
  echo "FAIL: demo_capture --wav" >&2
  exit 1
}
"$measure" --check --module qzt_dmbl.xm "$work/soundtrack.wav"
