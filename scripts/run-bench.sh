#!/usr/bin/env bash
# Runs every benchmark program the build produced and prints their figures as one table; each
# program's full output goes to $build/bench/<name>.log.
set -uo pipefail
build=${1:-build}
rows=()
for b in "$build"/bench/*/vantrel-bench-*; do
  [ -x "$b" ] || continue
  name=$(basename "$b")
  echo "running $name ..." >&2
  log="$build/bench/$name.log"
  if [[ $name = vantrel-bench-startup || $name = vantrel-bench-watchdog ]] && [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-noreset -r -screen 0 1280x800x24" "$b" > "$log" 2>&1
  else
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b" > "$log" 2>&1
  fi || echo "$name failed; see $log" >&2
  while IFS= read -r line; do rows+=("$line"); done < <(grep -E ' (met|MISSED)$' "$log")
done
printf '  %-58s %-22s %-12s %s\n' "figure" "measured" "target" ""
printf '%s\n' "${rows[@]}"
echo "(details of each run: $build/bench/*.log)"
