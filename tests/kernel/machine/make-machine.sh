#!/usr/bin/env bash
# Makes the small machine the kernel tests boot: Debian's own kernel (as an uncompressed vmlinux,
# which qemu starts directly; unpacking the compressed one under a software CPU costs ~10 s a boot)
# and an initramfs of busybox plus the modules that share the host's files and give us evdev,
# joydev and uinput. Everything is cached in OUT; a second run with nothing changed does nothing.
#   make-machine.sh OUT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: make-machine.sh OUT}
mkdir -p "$out"
out=$(cd "$out" && pwd)

fail() {
  echo "make-machine: $*" >&2
  exit 1
}

# Loaded in this order; each module's depends= comes before it.
modules=(virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci
  netfs fscache 9pnet 9pnet_virtio 9p evdev joydev uinput)

# The kernel package that Debian's linux-image-amd64 points at now.
kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }'
}

fetch_kernel() {
  local pkg=$1
  local deb
  deb=$(ls "$out"/download/"$pkg"_*.deb 2>/dev/null | head -n 1 || true)
  [ -n "$deb" ] && { echo "$deb"; return; }
  mkdir -p "$out/download"
  # apt drops root to _apt for downloads, which cannot write a root-owned folder.
  if ! (cd "$out/download" && apt-get download -q -o APT::Sandbox::User=root "$pkg" >&2); then
    [ "$(id -u)" -eq 0 ] || fail "could not download $pkg; run 'sudo apt-get update' and try again"
    apt-get update -qq >&2
    (cd "$out/download" && apt-get download -q -o APT::Sandbox::User=root "$pkg" >&2) ||
      fail "could not download $pkg from the package registry"
  fi
  ls "$out"/download/"$pkg"_*.deb | head -n 1
}

pkg=$(kernel_package)
if [ -z "$pkg" ]; then
  [ "$(id -u)" -eq 0 ] && apt-get update -qq >&2
  pkg=$(kernel_package)
fi
[ -n "$pkg" ] || fail "apt knows no linux-image-amd64; run 'sudo apt-get update' and try again"
version=${pkg#linux-image-}

stamp="$out/machine.stamp"
want="$pkg $(cat "$here/init" "$0" | md5sum | cut -c1-32)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -f "$out/vmlinux" ] && [ -f "$out/initramfs.gz" ]; then
  touch "$stamp"
  exit 0
fi

deb=$(fetch_kernel "$pkg")
unpacked="$out/unpacked"
rm -rf "$unpacked"
mkdir -p "$unpacked"
# Only the kernel and the few modules we load: the whole package is 400 MB unpacked.
paths=("./boot/vmlinuz-$version")
listing=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
for m in "${modules[@]}"; do
  p=$(grep -E "/$m\.ko(\.xz|\.zst)?\$" <<<"$listing" | head -n 1) || fail "$pkg has no module $m"
  paths+=("$p")
done
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$unpacked" "${paths[@]}"

# The compressed kernel is a boot stub followed by an xz stream: unpack that stream.
vmlinuz="$unpacked/boot/vmlinuz-$version"
offset=$(grep -abo $'\xfd7zXZ' "$vmlinuz" | head -n 1 | cut -d: -f1)
[ -n "$offset" ] || fail "$vmlinuz is not xz-compressed; cannot unpack it"
tail -c +"$((offset + 1))" "$vmlinuz" | xz -dc >"$out/vmlinux.new" 2>/dev/null || true
file -b "$out/vmlinux.new" | grep -q '^ELF 64-bit' || fail "could not unpack $vmlinuz"
mv "$out/vmlinux.new" "$out/vmlinux"

root="$out/initramfs"
rm -rf "$root"
mkdir -p "$root"/{bin,lib/modules,proc,sys,dev,host,results}
cp /bin/busybox "$root/bin/busybox" || fail "busybox-static is not installed"
: >"$root/lib/modules/order"
for m in "${modules[@]}"; do
  f=$(find "$unpacked/lib/modules" -name "$m.ko*" | head -n 1)
  case "$f" in
    *.xz) xz -dc "$f" >"$root/lib/modules/$m.ko" ;;
    *.zst) zstd -qdc "$f" >"$root/lib/modules/$m.ko" ;;
    *) cp "$f" "$root/lib/modules/$m.ko" ;;
  esac
  # A module whose depends= is not loaded yet would fail to load; the order above must hold it.
  for dep in $(tr '\0' '\n' <"$root/lib/modules/$m.ko" | sed -n 's/^depends=//p' | tr ',' ' '); do
    grep -qx "$dep" "$root/lib/modules/order" || fail "module $m needs $dep first"
  done
  echo "$m" >>"$root/lib/modules/order"
done
cp "$here/init" "$root/init"
chmod 755 "$root/init" "$root/bin/busybox"
(cd "$root" && find . | busybox cpio -o -H newc 2>/dev/null | gzip -1 >"$out/initramfs.gz")
rm -rf "$unpacked" "$root"
echo "$want" >"$stamp"
echo "make-machine: $pkg ready in $out" >&2
