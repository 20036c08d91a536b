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
# The same paths on a real kernel, in the kernel tests' machine (software CPU, so slower than any
# player's machine): the real vantrel on a uinput controller's evdev node, and beside it the
# controller benchmark's timer path, for comparison.
machine="$build/tests/kernel/machine"
if [ -x "$build/bench/kernel/vantrel-machine-bench" ] && [ -f "$machine/vmlinux" ]; then
  echo "running the real-kernel figures in the test machine ..." >&2
  log="$build/bench/machine.log"
  tests/kernel/machine/run-in-machine.sh "$machine" "$build/bench/machine-results" sh -c \
    "$build/bench/kernel/vantrel-machine-bench && $build/bench/controller/vantrel-bench-controller" \
    >"$log" 2>&1 || echo "the real-kernel figures failed; see $log" >&2
  sed -i 's/\r$//' "$log"  # the machine's console ends its lines with CR LF
  while IFS= read -r line; do rows+=("$line"); done < <(grep -E ' info$' "$log")
  while IFS= read -r line; do rows+=("$line"); done < <(
    sed -n '/^Controller pump/,$p' "$log" |
      grep -E '^  (stick change -> key event while moving, p(50|99)|idle CPU, stick still)' |
      awk '{
        figure = substr($0, 3, 58); measured = substr($0, 62, 22); sub(/ +$/, "", measured)
        if (figure ~ /^idle/) figure = "idle CPU, stick still"
        else figure = "report -> key, " substr(figure, index(figure, ", p") + 2, 3)
        printf "  %-58s %-22s %-12s %s\n", figure " [real kernel, software CPU: timer]", measured, "(compare)", "info"
      }')
fi
printf '  %-58s %-22s %-12s %s\n' "figure" "measured" "target" ""
printf '%s\n' "${rows[@]}"
echo "(details of each run: $build/bench/*.log)"
