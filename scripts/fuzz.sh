#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 25), starting from the seed corpora in tests/data/fuzz. Crashes end with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
out=${FUZZ_BUILD:-build-fuzz}
mkdir -p "$out"
cxx=$(command -v clang++-14 || command -v clang++)
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc)
declare -A sources=(
  [ini]="fuzz/ini_fuzz.cpp src/settings/ini_file.cpp src/settings/boundary_value.cpp"
  [boundary]="fuzz/boundary_fuzz.cpp src/settings/boundary_value.cpp"
)
for name in "${!sources[@]}"; do
  # shellcheck disable=SC2086
  "$cxx" "${flags[@]}" ${sources[$name]} -o "$out/fuzz-$name"
  corpus="$out/corpus-$name"
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  log="$out/fuzz-$name.log"
  status=0
  "$out/fuzz-$name" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 -artifact_prefix="$out/" \
    "$corpus" "tests/data/fuzz/$name" >"$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|Done' "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "fuzz target $name failed (status $status); the input that failed is the crash-* file in $out,"
    echo "and $log says why"
    exit 1
  fi
done
