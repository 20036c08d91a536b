#!/usr/bin/env bash
# Boots the kernel test machine and runs one command in it, as root inside the host's root file
# system (read-only), with udevd running and Vantrel's packaged udev rule applied. Its output comes
# back on the console; this script ends with the command's status. The machine must exist
# (make-machine.sh).
#   run-in-machine.sh MACHINE_DIR RESULTS_DIR COMMAND [ARG...]
# In the machine: RESULTS_DIR is /run/results (writable, shared with the host); /run, $HOME and
# $TMPDIR are the machine's own; everything else is the host's, read-only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
machine=${1:?usage: run-in-machine.sh MACHINE_DIR RESULTS_DIR COMMAND [ARG...]}
results=${2:?usage: run-in-machine.sh MACHINE_DIR RESULTS_DIR COMMAND [ARG...]}
shift 2
[ $# -gt 0 ] || { echo "run-in-machine: no command given" >&2; exit 2; }

for f in vmlinux initramfs.gz; do
  [ -f "$machine/$f" ] || { echo "run-in-machine: $machine/$f is missing; make it with tests/kernel/machine/make-machine.sh (ctest does so first)" >&2; exit 1; }
done
command -v qemu-system-x86_64 >/dev/null ||
  { echo "run-in-machine: qemu-system-x86_64 is not installed; run scripts/install-deps.sh" >&2; exit 1; }

rm -rf "$results"
mkdir -p "$results"
results=$(cd "$results" && pwd)
source_dir=$(cd "$here/../../.." && pwd)
{
  echo "set -e"
  printf 'export VANTREL_SOURCE_DIR=%q\n' "$source_dir"
  cat "$here/guest-setup.sh"
  printf 'cd %q\n' "$PWD"
  printf 'exec'
  printf ' %q' "$@"
  echo
} >"$results/job"

# KVM would be faster, but a nested guest hangs at boot on these machines: a software CPU always
# works. VANTREL_MACHINE_ACCEL=kvm tries KVM where it is known to work.
accel=${VANTREL_MACHINE_ACCEL:-tcg}
cpu=max
[ "$accel" = kvm ] && cpu=host
timeout_s=${VANTREL_MACHINE_TIMEOUT:-240}
set +e
timeout -k 5 "$timeout_s" qemu-system-x86_64 -accel "$accel" -cpu "$cpu" -m 1024 -smp 1 \
  -nodefaults -net none -no-reboot -nographic -serial stdio -monitor none \
  -kernel "$machine/vmlinux" -initrd "$machine/initramfs.gz" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1" \
  -virtfs local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$results,mount_tag=results,security_model=none,multidevs=remap" </dev/null
qemu_status=$?
set -e
if [ ! -f "$results/status" ]; then
  if [ "$qemu_status" -eq 124 ]; then
    echo "run-in-machine: the machine did not finish within ${timeout_s} s" >&2
  else
    echo "run-in-machine: the machine stopped (qemu status $qemu_status) before the command ended" >&2
  fi
  exit 1
fi
exit "$(cat "$results/status")"
