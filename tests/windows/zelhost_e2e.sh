#!/usr/bin/env bash
# End-to-end through zelhost.exe, zelmpi.dll and the stand-in DLLs under wine: describe, the
# road of one tag to the PLC library, check of the demo and bad tag lists, write and read back,
# a short poll ending with the module's shutdown.
#   zelhost_e2e.sh WINE_SH WINEPREFIX BIN_DIR EXAMPLES_DIR
# Exit 0 when every case passes; 125 (with "wine could not start") when wine itself failed.
set -uo pipefail
wine_sh=$1 prefix=$2 bin=$3 examples=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/zelhost-e2e.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/ravUDE01.int" . || exit 1 # the instance configuration the module reads

failures=0
out=$work/out err=$work/err
run() { # expected-status args... : runs zelhost.exe, output in $out and $err
    local want=$1 rc
    shift
    "$wine_sh" --prefix "$prefix" run "$bin/zelhost.exe" "$@" >"$out" 2>"$err"
    rc=$?
    if [ "$rc" -eq 125 ]; then
        cat "$err" >&2
        echo "wine could not start: the end-to-end tests did not run" >&2
        exit 125
    fi
    if [ "$rc" -ne "$want" ]; then
        echo "FAILED: zelhost $*: exit status $rc, expected $want"
        sed 's/^/  out: /' "$out"
        sed 's/^/  err: /' "$err"
        failures=$((failures + 1))
        return 1
    fi
}
expect() { # file text what
    if ! grep -qF -- "$2" "$1"; then
        echo "FAILED: $3: no '$2' in"
        sed 's/^/  | /' "$1"
        failures=$((failures + 1))
    fi
}

if run 0 describe; then
    expect "$out" "driver code:  82" "describe"
    expect "$out" "device name:  SIEMENS, SIMATIC S7" "describe"
fi

# One tag's road: OP_INIT loads the link, the read selects PLC 2 and reads DB10 bytes 20..21.
if run 0 read 02DW0100020 --trace; then
    expect "$out" "02DW0100020 word = " "read"
    expect "$err" "w95_s7: load_tool(1, 0, [2 0 2 0]) = 0" "read: the link loaded with PLC 2"
    expect "$err" "w95_s7: select_station(1) = 0" "read: PLC 2 selected"
    expect "$err" "RavUDE : Connect to PLC 2 Success !" "read: connect logged"
    expect "$err" "w95_s7: d_field_read(10, 20, 2) = 0" "read: DB10 bytes 20..21 read"
    expect "$err" "RavUDE: unload_tool() success 0" "read: shutdown unloads the link"
fi

if run 0 check "$examples/demo.tags"; then
    expect "$out" "accepted, 0 refused" "check demo.tags"
fi
if run 1 check "$examples/bad.tags"; then
    expect "$out" "8 tags, 1 accepted, 7 refused" "check bad.tags"
    expect "$out" "RAVUDE> ParseAddress() wrong characters in address string" "check bad.tags"
    expect "$out" "the module refuses a block of 126 elements for this tag (OP_CHECK_SIZE)" "check bad.tags"
fi

if run 0 write 02DW0100030 1234; then
    expect "$out" "02DW0100030 word := 1234, read back: 1234" "write and read back"
fi
if run 0 write 03DF0200004 -2.5; then
    expect "$out" "read back: -2.5" "write a float and read back"
fi

if run 0 poll "$examples/demo.tags" --cycles 2 --interval 100; then
    expect "$out" "cycle 2 of 2" "poll"
    expect "$out" "PLC 3 online" "poll"
    expect "$out" "done, shutting down" "poll"
    expect "$err" "RavUDE : ShutDown !!!" "poll: the worker saw the shutdown"
    expect "$err" "RavUDE: unload_tool() success 0" "poll: the link unloaded"
fi

if [ "$failures" -ne 0 ]; then
    echo "zelhost end-to-end: $failures failed"
    exit 1
fi
echo "zelhost end-to-end: all passed"
