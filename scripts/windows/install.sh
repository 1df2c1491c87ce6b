#!/usr/bin/env bash
# Installs what the 32-bit Windows build needs on a Debian 12 (amd64) machine and makes
# 32-bit programs (wine32) runnable:
#   - the i686 mingw-w64 cross compilers (we use the -posix variants) and binutils,
#   - qemu-user-static, registered through binfmt_misc as the interpreter of i386 ELF
#     files when the kernel cannot run them itself,
#   - wine32 (i386 architecture added to dpkg).
#
# Idempotent: packages are installed only when missing, apt-get update runs only when
# something has to be installed, and an existing binfmt entry is kept.
# Run as root. Non-interactive. Exit status 0 when everything is usable afterwards.
#
# Environment:
#   ZEL_WIN_SKIP_WINE=1   only the cross compilers (no qemu, no wine32, no binfmt)
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
# Other jobs on the machine may hold the dpkg lock for a while: wait instead of failing.
APT_OPTS=(-y -q -o DPkg::Lock::Timeout=900 -o Dpkg::Options::=--force-confdef
          -o Dpkg::Options::=--force-confold --no-install-recommends)

say() { printf 'install.sh: %s\n' "$*"; }
die() { printf 'install.sh: error: %s\n' "$*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "must run as root (apt-get, dpkg --add-architecture, binfmt_misc)"
[ "$(dpkg --print-architecture)" = amd64 ] || die "expects an amd64 Debian host, found $(dpkg --print-architecture)"

BINFMT_DIR=/proc/sys/fs/binfmt_misc
BINFMT_NAME=qemu-i386
QEMU=/usr/bin/qemu-i386-static
# Debian's qemu-user-static ships binfmt entries (/usr/lib/binfmt.d, /usr/share/binfmts) for
# foreign architectures only: none for i386 on an amd64 host, so we register it ourselves
# (binfmt-support / systemd-binfmt are not running in containers anyway).
# i386 ELF executables and shared objects (e_ident class 1 = 32 bit, e_machine 3 = i386);
# the same magic/mask pair qemu's own binfmt configuration uses for i386.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# The 32-bit dynamic loader (libc6:i386) is a runnable i386 ELF: the probe for whether they run.
I386_LDSO=/lib/ld-linux.so.2

installed() { # pkg[:arch]
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null || true)" = installed ]
}

APT_UPDATED=0
apt_update_once() {
    if [ "$APT_UPDATED" -eq 0 ]; then
        say "apt-get update"
        apt-get "${APT_OPTS[@]}" update
        APT_UPDATED=1
    fi
}

install_missing() { # pkg...
    local missing=() p
    for p in "$@"; do
        installed "$p" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        say "already installed: $*"
        return 0
    fi
    apt_update_once
    say "installing: ${missing[*]}"
    local t0=$SECONDS
    apt-get "${APT_OPTS[@]}" install "${missing[@]}"
    say "installed ${missing[*]} in $((SECONDS - t0)) s"
}

# ---------------------------------------------------------------- cross compilers
install_missing g++-mingw-w64-i686 binutils-mingw-w64-i686
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix i686-w64-mingw32-dlltool \
            i686-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null || die "$tool missing after installing g++-mingw-w64-i686"
done
say "cross compiler: $(i686-w64-mingw32-g++-posix -dumpfullversion) ($(i686-w64-mingw32-g++-posix -v 2>&1 | sed -n 's/^Thread model: //p') threads)"

if [ "${ZEL_WIN_SKIP_WINE:-0}" = 1 ]; then
    say "ZEL_WIN_SKIP_WINE=1: not installing qemu-user-static / wine32"
    exit 0
fi

# ---------------------------------------------------------------- wine32 + qemu
install_missing qemu-user-static
[ -x "$QEMU" ] || die "$QEMU missing after installing qemu-user-static"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding the i386 architecture to dpkg"
    dpkg --add-architecture i386
    APT_UPDATED=0 # the i386 package lists are needed now
fi
# The 32-bit C library first: its loader is the probe for "do 32-bit programs run?", and
# binfmt must be set up before wine32's dependencies run their 32-bit postinst helpers
# (glib-compile-schemas etc. fail with "Exec format error" otherwise).
install_missing libc6:i386
[ -e "$I386_LDSO" ] || die "$I386_LDSO missing after installing libc6:i386"

# ---------------------------------------------------------------- binfmt_misc
# exit status of running a 32-bit program: 0 runs, 126 = exec format error (not runnable)
probe_i386() {
    local rc=0
    "$I386_LDSO" --version >/dev/null 2>&1 || rc=$?
    return "$rc"
}

if probe_i386; then
    if [ -e "$BINFMT_DIR/$BINFMT_NAME" ]; then
        say "32-bit programs run (binfmt entry $BINFMT_NAME present)"
    else
        say "32-bit programs run (natively or through an existing binfmt entry): nothing to register"
    fi
else
    say "32-bit programs do not run here (no i386 support in the kernel): registering $QEMU in binfmt_misc"
    if ! mountpoint -q "$BINFMT_DIR"; then
        say "mounting binfmt_misc on $BINFMT_DIR"
        mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" ||
            die "cannot mount binfmt_misc on $BINFMT_DIR (a container without the privilege?)"
    fi
    [ -w "$BINFMT_DIR/register" ] || die "$BINFMT_DIR/register is not writable"
    if [ -e "$BINFMT_DIR/$BINFMT_NAME" ]; then
        # An entry exists but 32-bit programs still fail: a disabled or stale one. Replace it.
        say "replacing the existing entry $BINFMT_NAME: $(tr '\n' ' ' <"$BINFMT_DIR/$BINFMT_NAME")"
        echo -1 >"$BINFMT_DIR/$BINFMT_NAME"
    fi
    # F: the kernel opens the interpreter now, so it works in any mount namespace/chroot.
    printf '%s' ":$BINFMT_NAME:M::$I386_MAGIC:$I386_MASK:$QEMU:F" >"$BINFMT_DIR/register" ||
        die "writing the $BINFMT_NAME entry to $BINFMT_DIR/register failed"
    probe_i386 || die "32-bit programs still do not run after registering $QEMU (status $?)"
    say "registered: $(tr '\n' ' ' <"$BINFMT_DIR/$BINFMT_NAME")"
fi

# ---------------------------------------------------------------- wine32
# wine32 brings the 32-bit loader and wineserver; wine (arch all) brings /usr/bin/wine,
# wineserver and wineboot wrappers.
install_missing wine32:i386 wine
# wine.sh: pgrep (procps) and flock (util-linux); minimal images lack procps.
install_missing procps util-linux
[ -x /usr/lib/wine/wine ] || die "/usr/lib/wine/wine (wine32) missing after install"

say "wine: $(/usr/lib/wine/wine --version 2>/dev/null || echo '?')"
say "done; start a prefix with scripts/windows/wine.sh start"
