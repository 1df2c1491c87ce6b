#!/usr/bin/env bash
# Runs 32-bit Windows programs under wine32 (through qemu-i386 on kernels without i386
# support) with the environment they need here.
#
#   wine.sh [--prefix DIR | --build-dir DIR] start            create/boot the prefix, keep wineserver running
#   wine.sh [--prefix DIR | --build-dir DIR] run PROG ARGS...  run PROG, exit with PROG's exit status
#   wine.sh [--prefix DIR | --build-dir DIR] stop             stop wineserver and the prefix's processes
#   wine.sh [--prefix DIR | --build-dir DIR] status           exit 0 when the server is up
#   wine.sh [--prefix DIR | --build-dir DIR] env              print the environment as export lines
#
# Prefix: --prefix DIR, else $WINEPREFIX, else --build-dir DIR (or $ZEL_WINE_BUILD_DIR) plus
# /wineprefix, else /tmp/zelmpi-wine-$UID.
#
# Exit status of `run`:
#   the program's own status (wine passes the low 8 bits of the Windows exit code; a nonzero
#   code whose low byte is 0 comes out as 1; a crash gives the low byte of the exception code),
#   125  wine itself could not start (not installed, 32-bit programs cannot execute,
#        prefix boot failed, wine's loader refused the program); message "wine: could not start ..."
#   127  PROG does not exist,
#   124  PROG ran longer than $ZEL_WINE_TIMEOUT seconds (when set) and was killed.
# Our programs keep 124, 125 and 127 out of their own exit codes.
#
# `run` boots the prefix and starts a server itself when none is running (it then stays for
# $ZEL_WINE_LINGER seconds after the last program, default 600); `start` makes it stay until
# `stop`. Starting the server costs 40-55 s here, a program start 2.5-4 s once it is up.
#
# Environment: ZEL_WINE_VERBOSE=1 prints how long each step took (to stderr);
# ZEL_WINE_DIR (default /usr/lib/wine) holds the 32-bit wine and wineserver32.
set -uo pipefail

WINE_DIR=${ZEL_WINE_DIR:-/usr/lib/wine} # where wine32 keeps its loader and server
WINE_LOADER_32=$WINE_DIR/wine
WINE_SERVER_32=$WINE_DIR/wineserver32

me=wine.sh
note() { printf '%s: %s\n' "$me" "$*" >&2; }
verbose() { [ "${ZEL_WINE_VERBOSE:-0}" = 1 ] && note "$@"; return 0; }
usage() {
    sed -n '2,/^set -uo/p' "$0" | sed -e '/^set -uo/d' -e 's/^# \{0,1\}//' >&2
    exit 2
}
# Wine itself failed: distinct status so callers can tell it from a failing program.
wine_failed() { # what, reason...
    local what=$1
    shift
    printf 'wine: could not start %s: %s\n' "$what" "$*" >&2
    exit 125
}
now_ms() { date +%s%3N; }
elapsed() { # since_ms -> "1.234 s"
    local d=$(($(now_ms) - $1))
    printf '%d.%03d s' $((d / 1000)) $((d % 1000))
}

# ------------------------------------------------------------------ options, environment
prefix_opt='' build_dir=${ZEL_WINE_BUILD_DIR:-}
while [ $# -gt 0 ]; do
    case $1 in
    --prefix) [ $# -ge 2 ] || usage; prefix_opt=$2; shift 2 ;;
    --prefix=*) prefix_opt=${1#*=}; shift ;;
    --build-dir) [ $# -ge 2 ] || usage; build_dir=$2; shift 2 ;;
    --build-dir=*) build_dir=${1#*=}; shift ;;
    -h | --help) usage ;;
    --) shift; break ;;
    -*) note "unknown option $1"; usage ;;
    *) break ;;
    esac
done
[ $# -ge 1 ] || usage
cmd=$1
shift

if [ -n "$prefix_opt" ]; then
    WINEPREFIX=$prefix_opt
elif [ -z "${WINEPREFIX:-}" ]; then
    if [ -n "$build_dir" ]; then
        WINEPREFIX=$build_dir/wineprefix
    else
        WINEPREFIX=/tmp/zelmpi-wine-$(id -u)
    fi
fi
case $WINEPREFIX in /*) ;; *) WINEPREFIX=$PWD/$WINEPREFIX ;; esac

export WINEPREFIX
export WINEARCH=win32
export WINEDEBUG=${ZEL_WINEDEBUG:--all}
# No Mono/Gecko download prompts (nothing may be fetched here anyway).
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Without a reserved guest address space qemu mishandles one of wine's mmap flags and every
# wine start takes about a minute; with it 2.5-4 s. Harmless where i386 runs natively.
export QEMU_RESERVED_VA=${QEMU_RESERVED_VA:-0x81000000}
# Use the 32-bit loader and server directly: /usr/bin/wineserver prefers wineserver64
# when wine64 is installed as well.
export WINELOADER=$WINE_LOADER_32
export WINESERVER=$WINE_SERVER_32
unset DISPLAY WAYLAND_DISPLAY # console programs only; no window system here

lockfile=$WINEPREFIX.lock
bootlog=$WINEPREFIX.boot.log

# ------------------------------------------------------------------ checks
# Fails with 125 unless the 32-bit wine loader can execute on this machine.
check_wine() { # what
    [ -x "$WINE_LOADER_32" ] ||
        wine_failed "$1" "$WINE_LOADER_32 is missing (wine32:i386 not installed; run scripts/windows/install.sh as root)"
    [ -x "$WINE_SERVER_32" ] ||
        wine_failed "$1" "$WINE_SERVER_32 is missing (wine32:i386 not installed; run scripts/windows/install.sh as root)"
    local out rc=0
    out=$("$WINE_LOADER_32" --version 2>&1) || rc=$?
    case $rc in
    0) ;;
    126) wine_failed "$1" "$WINE_LOADER_32: Exec format error: 32-bit programs cannot execute here (qemu-i386-static is not registered in binfmt_misc; run scripts/windows/install.sh as root)" ;;
    *) wine_failed "$1" "$WINE_LOADER_32 --version failed with status $rc: $out" ;;
    esac
}

prefix_booted() { [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/user.reg" ]; }

# The server's directory: Debian's wine keeps the name of its private /tmp folder in
# $WINEPREFIX/wineserver; upstream wine uses /tmp/.wine-$UID.
server_dir() {
    local base dev ino
    if [ -r "$WINEPREFIX/wineserver" ]; then
        base=/tmp/$(cat "$WINEPREFIX/wineserver")
    else
        base=/tmp/.wine-$(id -u)
    fi
    read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 1
    printf '%s/server-%x-%x\n' "$base" "$dev" "$ino"
}

# pid of the live wineserver of this prefix (it works inside its server directory).
server_pid() {
    local dir p
    dir=$(server_dir) || return 1
    [ -S "$dir/socket" ] || return 1
    local pids
    if command -v pgrep >/dev/null; then
        pids=$(pgrep -f wineserver)
    else
        pids=$(grep -las wineserver /proc/[0-9]*/cmdline | cut -d/ -f3)
    fi
    for p in $pids; do
        [ "$(readlink "/proc/$p/cwd" 2>/dev/null)" = "$dir" ] || continue
        echo "$p"
        return 0
    done
    return 1
}

# ------------------------------------------------------------------ start
# Starts a server (persistent for $1 seconds after the last program; '' = until stop) and
# boots the prefix, under a lock so parallel callers boot it once.
ensure_server() { # linger-seconds-or-empty what
    local linger=$1 what=$2 t0 rc
    mkdir -p "$WINEPREFIX" 2>/dev/null || wine_failed "$what" "cannot create the prefix $WINEPREFIX"
    exec 9>"$lockfile" || wine_failed "$what" "cannot write $lockfile"
    flock 9
    if prefix_booted && server_pid >/dev/null; then
        exec 9>&-
        return 0
    fi
    t0=$(now_ms)
    local init=''
    prefix_booted || init=-i
    note "booting wine prefix $WINEPREFIX${init:+ (new)}; this takes about a minute (log: $bootlog)"
    # stdio detached and the lock closed: the server and the services it starts live on, and
    # must not hold the caller's pipes open (a ctest or `| tee` would wait for them) nor the
    # lock (every later caller would block on it).
    "$WINE_SERVER_32" "-p$linger" </dev/null >"$bootlog" 2>&1 9>&- ||
        wine_failed "$what" "wineserver did not start (status $?): $(tail -n 3 "$bootlog")"
    rc=0
    "$WINE_LOADER_32" wineboot $init </dev/null >>"$bootlog" 2>&1 9>&- || rc=$?
    if [ "$rc" -ne 0 ] || ! prefix_booted; then
        wine_failed "$what" "booting the prefix $WINEPREFIX failed (wineboot status $rc): $(grep -v '^qemu: uncaught' "$bootlog" | tail -n 5)"
    fi
    server_pid >/dev/null || wine_failed "$what" "the wineserver of $WINEPREFIX is not running after boot"
    note "wine prefix ready in $(elapsed "$t0")"
    exec 9>&-
}

# ------------------------------------------------------------------ run
# Messages of wine's own loader that mean the program never started.
WINE_FATAL='^wine: (could not load kernel32|failed to initialize|failed to start|could not exec|failed to open|Bad EXE format|cannot find|chdir to|.*is not owned by you|WINEARCH set to win32 but|.*is a 64-bit installation)'

pe_machine() { # file -> hex machine field of the PE header ("" if not a PE file)
    local off sig
    [ "$(head -c 2 "$1" 2>/dev/null)" = MZ ] || return 0
    off=$(od -An -tu4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$off" ] || return 0
    sig=$(od -An -c -j "$off" -N 4 "$1" 2>/dev/null | tr -d ' ')
    [ "$sig" = 'PE\0\0' ] || return 0
    od -An -tx2 -j $((off + 4)) -N 2 "$1" | tr -d ' '
}

do_run() {
    [ $# -ge 1 ] || usage
    local prog=$1 t0 t1 rc errf
    shift
    t0=$(now_ms)
    if [ ! -f "$prog" ]; then
        note "$prog: no such file"
        exit 127
    fi
    case $(pe_machine "$prog") in
    014c) ;;
    8664) wine_failed "$prog" "it is a 64-bit (x86-64) program; this wine runs 32-bit programs" ;;
    '') wine_failed "$prog" "not a Windows PE program" ;;
    *) wine_failed "$prog" "not an i386 Windows program (PE machine $(pe_machine "$prog"))" ;;
    esac
    check_wine "$prog"
    if ! prefix_booted || ! server_pid >/dev/null; then
        ensure_server "${ZEL_WINE_LINGER:-600}" "$prog"
    fi
    t1=$(now_ms)
    local limit=()
    [ -n "${ZEL_WINE_TIMEOUT:-}" ] && limit=(timeout --kill-after=10 "$ZEL_WINE_TIMEOUT")
    if [ -t 2 ]; then
        # A terminal: stderr straight through (nobody waits for it to close).
        "${limit[@]}" "$WINE_LOADER_32" "$prog" "$@"
        rc=$?
        errf=/dev/null
    else
        # Wine hands its stderr to the system processes a program may (re)start, such as
        # services.exe after it crashed: those live on, and a pipe given to them never
        # closes, so ctest or `| tee` would wait forever. So the program writes its stderr
        # to a file, copied to ours when it has ended; this also lets us recognise wine's
        # own fatal messages. stdout is untouched (wine gives those processes /dev/null).
        errf=$(mktemp "${TMPDIR:-/tmp}/zel-wine-err.XXXXXX") || wine_failed "$prog" "mktemp failed"
        "${limit[@]}" "$WINE_LOADER_32" "$prog" "$@" 2>"$errf"
        rc=$?
        cat "$errf" >&2
    fi
    if [ "${#limit[@]}" -gt 0 ] && { [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; }; then
        [ "$errf" = /dev/null ] || rm -f "$errf"
        note "$prog: killed after ZEL_WINE_TIMEOUT=$ZEL_WINE_TIMEOUT s"
        exit 124
    fi
    if [ "$rc" -ne 0 ] && grep -qE "$WINE_FATAL" "$errf"; then
        local msg
        msg=$(grep -E "$WINE_FATAL" "$errf" | head -n 1)
        [ "$errf" = /dev/null ] || rm -f "$errf"
        wine_failed "$prog" "$msg (wine status $rc)"
    fi
    [ "$errf" = /dev/null ] || rm -f "$errf"
    verbose "run $prog: status $rc, program $(elapsed "$t1"), total $(elapsed "$t0")"
    exit "$rc"
}

# ------------------------------------------------------------------ stop
do_stop() {
    local pid i
    if ! pid=$(server_pid); then
        note "no wineserver running for $WINEPREFIX"
        return 0
    fi
    "$WINE_SERVER_32" -k >/dev/null 2>&1
    for i in $(seq 100); do
        server_pid >/dev/null || { note "stopped wineserver $pid ($WINEPREFIX)"; return 0; }
        sleep 0.1
    done
    note "wineserver $pid did not stop within 10 s; killing it"
    kill -9 "$pid" 2>/dev/null
    return 0
}

case $cmd in
start)
    t0=$(now_ms)
    check_wine "the prefix $WINEPREFIX"
    if prefix_booted && pid=$(server_pid); then
        note "wineserver $pid already running for $WINEPREFIX ($(tr '\0' ' ' </proc/"$pid"/cmdline | sed 's/ *$//'))"
        exit 0
    fi
    ensure_server '' "the prefix $WINEPREFIX"
    note "wineserver $(server_pid) running for $WINEPREFIX (stop with: $0 --prefix $WINEPREFIX stop); start took $(elapsed "$t0")"
    ;;
run) do_run "$@" ;;
stop) do_stop ;;
status)
    if pid=$(server_pid); then
        echo "prefix $WINEPREFIX: booted, wineserver $pid running"
    elif prefix_booted; then
        echo "prefix $WINEPREFIX: booted, no wineserver"
        exit 1
    else
        echo "prefix $WINEPREFIX: not created"
        exit 1
    fi
    ;;
env)
    for v in WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES QEMU_RESERVED_VA WINELOADER WINESERVER; do
        printf 'export %s=%q\n' "$v" "${!v}"
    done
    ;;
*) note "unknown command $cmd"; usage ;;
esac
