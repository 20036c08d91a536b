# Runs first in every kernel test machine (inside the host's root): a desktop's udev, with
# Vantrel's packaged rule, and folders of its own for what programs write.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/run/home TMPDIR=/run/tmp XDG_RUNTIME_DIR=/run/user/0 QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$TMPDIR" "$XDG_RUNTIME_DIR" /run/udev/rules.d
chmod 700 "$XDG_RUNTIME_DIR"
chmod 1777 "$TMPDIR"
# udevadm does nothing in a chroot unless told that this one is the whole system.
export SYSTEMD_IGNORE_CHROOT=1
cp "$VANTREL_SOURCE_DIR/packaging/70-vantrel-uinput.rules" /run/udev/rules.d/
/lib/systemd/systemd-udevd --daemon
udevadm trigger --action=add --subsystem-match=input --subsystem-match=misc
udevadm settle --timeout=30
