#!/usr/bin/env bash
# Runs every benchmark program the build produced and prints their tables.
set -euo pipefail
build=${1:-build}
found=0
for b in "$build"/bench/*/vantrel-bench-*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[ $found -eq 1 ] || echo "no benchmarks built"
