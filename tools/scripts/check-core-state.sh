#!/usr/bin/env bash
# Checks that the core library (raster, effects, scene) keeps no mutable
# variable at namespace or function scope: every run-long value lives in the
# Show object. Lists the data objects of writable sections (.data, .bss and
# their thread-local forms); the stream initialiser of <iostream> and the
# compiler's personality reference are the only ones allowed.
#   check-core-state.sh path/to/libdemo_core.a
set -euo pipefail
library=$1
found=$(objdump -t -C "$library" |
  awk '$0 ~ / O / && $0 ~ /[[:space:]]\.(data|bss|tdata|tbss)([.[:space:]]|$)/ && $0 !~ /\.data\.rel\.ro/' |
  grep -v -e 'std::__ioinit' -e 'DW\.ref\.__gxx_personality_v0' || true)
if [ -n "$found" ]; then
  echo "mutable state in $library:"
  echo "$found"
  exit 1
fi
echo "no mutable variable in $library"
