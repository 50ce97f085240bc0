#!/usr/bin/env bash
# The Wine side of the tests: one throwaway prefix under the build tree, one persistent
# wineserver for the whole run, and an Xvfb display when there is none.
#   wine-env.sh STATE_DIR setup | run EXE [ARGS...] | teardown
# `run` checks the heaps of the program and of every process it starts, and fails on a heap error
# (VANTREL_HEAP_CHECK=off runs without, for measurements).
set -uo pipefail
state=$(realpath -m "$1"); shift
command=$1; shift

export WINEPREFIX=$state/prefix
export WINEDEBUG=-all
# Wine's heap checking. warn+heap fills a freed block, holds it back from reuse for the next 1,024
# frees and checks every pointer that is freed, resized or sized (a double free is a "delayed
# freed block"); err+heap prints what a validation of the whole heap finds (a write into a freed
# block, past a block's end). trace+heap would validate at every heap call, six to twenty times
# slower: the Wine suites validate instead after each test. +pid and loaddll tell whose line it is.
heap_check=-all,+pid,+loaddll,warn+heap,err+heap
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wine=/usr/lib/wine/wine64

# The display this state dir started, while its Xvfb still runs.
use_display() {
    if [ -z "${DISPLAY:-}" ] && [ -f "$state/display" ] &&
        kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
        export DISPLAY=$(cat "$state/display")
    fi
}

start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return
    for n in $(seq 91 120); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        echo $! > "$state/xvfb.pid"
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
        echo ":$n" > "$state/display"
        export DISPLAY=":$n"
        return
    done
    echo "no free X display" >&2
    exit 1
}

# The heap errors of the program's own processes: those whose executable is a native one (the
# loaddll line of each process's .exe comes first). A process of Wine's own that the program starts
# (the desktop, a debugger after a crash) inherits the setting and the output, but is builtin.
# Running out of memory is not a heap error.
heap_errors() {
    awk -F: '
        /^[0-9a-f]+:[0-9a-f]+:trace:loaddll:.*\.[eE][xX][eE]" at / { native[$1] = / native$/ }
        /^[0-9a-f]+:[0-9a-f]+:(err|warn):heap:/ && native[$1] && !/Could not|isn.t growable/
    ' "$1"
}

case "$command" in
setup)
    mkdir -p "$state"
    # A second setup of the same state dir keeps its display rather than starting another.
    use_display
    start_xvfb
    mkdir -p "$WINEPREFIX"
    # The persistent server first: it then also serves the prefix creation. One that is already
    # running for this prefix refuses a second start, which is fine.
    wineserver -p 2>/dev/null </dev/null >/dev/null || true
    # The persistent server writes the registry files late, so a marker tells a made prefix.
    if [ ! -f "$state/prefix.ready" ]; then
        # Unmanaged windows: without a window manager on Xvfb, Wine waits about two seconds
        # for one at every window that closes. The desktop process that wineboot started (it
        # also keeps the tray) read the setting before it was written, and would wait so at
        # every tray icon that comes and goes: every process of the new prefix is ended.
        # A crash prints its backtrace and ends, rather than waiting on a dialog nobody closes.
        "$wine" wineboot -u >/dev/null 2>&1 </dev/null &&
            "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
                >/dev/null 2>&1 </dev/null &&
            "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
                /f >/dev/null 2>&1 </dev/null &&
            wineserver -k 2>/dev/null && wineserver -w &&
            touch "$state/prefix.ready"
        wineserver -p 2>/dev/null </dev/null >/dev/null || true
    fi
    [ -f "$state/prefix.ready" ] || exit 1
    # Wine's own services start with the first program of a session and live as long as the
    # server: started here, they run without the heap check of `run` and write nowhere. (The
    # desktop, which keeps the tray, ends when idle and comes back with the next program.)
    "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
    ;;
run)
    use_display
    # Wine's own services outlive the program; had they inherited the caller's output pipe, a
    # caller that reads it to the end (ctest) would wait for them forever.
    output=$(mktemp)
    program=$(realpath "$1")
    shift
    [ "${VANTREL_HEAP_CHECK:-on}" = off ] || export WINEDEBUG=$heap_check
    (cd "$(dirname "$program")" && "$wine" "$program" "$@" >"$output" 2>&1 </dev/null)
    status=$?
    grep -v '^[0-9a-f]*:[0-9a-f]*:trace:loaddll:' "$output"
    errors=$(heap_errors "$output")
    rm -f "$output"
    if [ -n "$errors" ]; then
        echo "Heap errors in the program's own processes: $(wc -l <<<"$errors"), the first of them:"
        head -n 20 <<<"$errors"
        [ $status -ne 0 ] || status=1
    fi
    exit $status
    ;;
teardown)
    wineserver -k 2>/dev/null
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null
        rm -f "$state/xvfb.pid" "$state/display"
    fi
    exit 0
    ;;
*)
    echo "usage: wine-env.sh STATE_DIR setup|run EXE [ARGS]|teardown" >&2
    exit 2
    ;;
esac
