#!/usr/bin/env bash
# Replays every case of the corpus and compares what vantrel-replay printed with what it printed
# when the case was recorded: stdout, then "--- stderr" and stderr, then "--- exit N".
#
#   run-corpus.sh REPLAY_BINARY CORPUS_DIR [--record]
#
# A case is cases/NAME.txt (the script on stdin), with optionally cases/NAME.ini (the settings
# file) and cases/NAME.args (more options, one line, split at blanks). Each case runs in a fresh
# empty folder with "--config config.ini" first, so the settings file has the same name in every
# message and a case without .ini reads a file that does not exist. --record rewrites expected/.
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 || ( $# -eq 3 && $3 != --record ) ]]; then
    echo "usage: $0 REPLAY_BINARY CORPUS_DIR [--record]" >&2
    exit 2
fi
replay=$(readlink -f "$1")
corpus=$(readlink -f "$2")
record=false
[[ $# -eq 3 ]] && record=true
if [[ ! -x $replay ]]; then
    echo "$0: $1 is not an executable" >&2
    exit 2
fi
export LC_ALL=C

work=$(mktemp -d "${TMPDIR:-/tmp}/replay-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
cases=("$corpus"/cases/*.txt)
if [[ ${#cases[@]} -eq 0 ]]; then
    echo "$0: no cases in $corpus/cases" >&2
    exit 2
fi
mkdir -p "$corpus/expected"

failed=()
for script in "${cases[@]}"; do
    name=$(basename "$script" .txt)
    run="$work/$name"
    mkdir "$run" "$run/dir"
    [[ -f $corpus/cases/$name.ini ]] && cp "$corpus/cases/$name.ini" "$run/dir/config.ini"
    extra=()
    if [[ -f $corpus/cases/$name.args ]]; then
        read -r -a extra <"$corpus/cases/$name.args" || true
    fi
    status=0
    (cd "$run/dir" && exec "$replay" --config config.ini ${extra[@]+"${extra[@]}"}) \
        <"$script" >"$run/stdout" 2>"$run/stderr" || status=$?
    {
        cat "$run/stdout"
        echo "--- stderr"
        cat "$run/stderr"
        echo "--- exit $status"
    } >"$run/actual"

    expected="$corpus/expected/$name.out"
    if $record; then
        cp "$run/actual" "$expected"
    elif [[ ! -f $expected ]]; then
        echo "FAIL $name: no expected/$name.out (record it with --record)"
        failed+=("$name")
    elif ! diff -u --label "expected/$name.out" --label "actual" "$expected" "$run/actual"; then
        echo "FAIL $name"
        failed+=("$name")
    fi
done

if $record; then
    echo "recorded ${#cases[@]} cases"
    exit 0
fi
# An expected output whose case is gone would otherwise be kept forever without being checked.
for out in "$corpus"/expected/*.out; do
    name=$(basename "$out" .out)
    if [[ ! -f $corpus/cases/$name.txt ]]; then
        echo "FAIL $name: expected/$name.out has no cases/$name.txt"
        failed+=("$name")
    fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "${#failed[@]} of ${#cases[@]} cases failed: ${failed[*]}"
    exit 1
fi
echo "all ${#cases[@]} cases passed"
