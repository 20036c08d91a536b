#!/usr/bin/env bash
# packaging_test.sh SOURCE_DIR BUILD_DIR VERSION
set -uo pipefail
src=$1 build=$2 version=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- An install into a prefix: everything lands inside it, and the tree is complete. ---
prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    fail "cmake --install --prefix failed"
fi
while read -r path; do
    [[ $path == "$prefix"/* ]] || fail "installed outside the prefix: $path"
done < <(sed -n 's/^-- \(Installing\|Up-to-date\): //p' "$work/install.log")

rule=$prefix/lib/udev/rules.d/70-vantrel-uinput.rules
[[ -f $rule && -f $prefix/lib/modules-load.d/vantrel-uinput.conf ]] ||
    fail "the udev rule or the modules-load entry is not under lib/ of the prefix"
# The main window's uinput advice depends on finding the rule by this name.
grep -qa "$(basename "$rule")" "$prefix/bin/vantrel" ||
    fail "vantrel looks for its udev rule under another name than $(basename "$rule")"

# vantrel starts its key watchdog from where it looks for it, relative to its own folder.
watchdog=$prefix/libexec/vantrel/vantrel-key-watchdog
[[ -x $watchdog ]] && grep -qa "$(realpath -m --relative-to="$prefix/bin" "$(dirname "$watchdog")")" \
    "$prefix/bin/vantrel" || fail "vantrel does not look for its key watchdog where it is installed"

metainfo=$(find "$prefix/share/metainfo" -name '*.metainfo.xml' 2>/dev/null)
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" 2>/dev/null)
[[ -n $id && $(basename "$metainfo") == "$id.metainfo.xml" ]] ||
    fail "the AppStream file is not named after its id: $metainfo"
desktop=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[[ -f $prefix/share/applications/$desktop ]] ||
    fail "the AppStream launchable '$desktop' is not an installed desktop entry"

for program in "$prefix"/bin/*; do
    name=$(basename "$program")
    grep -q "<binary>$name</binary>" "$metainfo" || fail "AppStream does not provide $name"
    page=$prefix/share/man/man1/$name.1.gz
    if [[ -f $page ]]; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        [[ -z $warnings ]] || fail "$name.1 has formatting warnings: $warnings"
        zcat "$page" | grep -q '^\.SH SYNOPSIS' || fail "$name.1 has no synopsis (see its --help)"
    else
        fail "$name has no man page"
    fi
done

# A new version needs its changelog entry and its AppStream release.
zcat "$prefix/share/doc/vantrel/changelog.gz" | head -1 | grep -q "^vantrel ($version)" ||
    fail "the newest changelog entry is not version $version"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the AppStream releases do not start with version $version"

# --- The desktop entry and the AppStream data pass the validators, with no hint. ---
out=$(desktop-file-validate "$prefix/share/applications/$desktop" 2>&1)
[[ -z $out ]] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"

# --- The install script: loads uinput and lets udev apply the rule where it can, and never
# fails or talks where it cannot (a chroot, a container, a minimal system). ---
fakes=$work/fakes none=$work/none
mkdir -p "$fakes" "$none"
for tool in ischroot modprobe udevadm; do
    cat >"$fakes/$tool" <<FAKE
#!/bin/sh
echo "$tool \$*" >>"$work/calls"
case "$tool \$*" in
ischroot*) exit \$((1 - \${IN_CHROOT:-0})) ;;
modprobe*) [ "\${MODPROBE_WORKS:-1}" = 1 ] || { echo "modprobe: FATAL: not permitted" >&2; exit 1; } ;;
"udevadm control --ping"*) [ "\${UDEV_RUNS:-1}" = 1 ] || { echo "Failed to send a ping" >&2; exit 1; } ;;
esac
FAKE
    chmod +x "$fakes/$tool"
done
# scenario | PATH | environment | uinput loaded, then udev re-triggered for it
while IFS='|' read -r scenario path env expected; do
    scenario=$(echo $scenario) path=$(echo $path) expected=$(echo $expected)
    rm -f "$work/calls"
    # PATH holds only the fakes: the real tools must never run here.
    out=$(env -i PATH="$path" $env /bin/sh "$src/packaging/debian/postinst" configure 2>&1)
    status=$?
    did=$(grep -x -e 'modprobe uinput' -e 'udevadm trigger --name-match=uinput' "$work/calls" 2>/dev/null |
        cut -d' ' -f1 | paste -sd ' ' -)
    [[ $status == 0 ]] || fail "postinst ($scenario) exited with $status"
    [[ -z $out ]] || fail "postinst ($scenario) printed: $out"
    [[ ${did:--} == "$expected" ]] || fail "postinst ($scenario) ran '$did', expected '$expected'"
done <<TABLE
with udev        | $fakes | IN_CHROOT=0                  | modprobe udevadm
container        | $fakes | MODPROBE_WORKS=0 UDEV_RUNS=0 | modprobe
chroot           | $fakes | IN_CHROOT=1                  | -
no modprobe/udev | $none  |                              | -
TABLE

if ((failures)); then
    echo "$failures failed" >&2
    exit 1
fi
echo "packaging: every check passed"
