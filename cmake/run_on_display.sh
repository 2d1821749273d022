#!/bin/sh
# run_on_display.sh XVFB [--screen WxHxD] [--window-manager PROGRAM] COMMAND
# [ARGS...]: runs COMMAND on an X display of its own (640x480x24 unless
# --screen says otherwise), with PROGRAM running on it as the window manager
# when given; COMMAND waits for the window manager itself. Where the window
# manager asked for is not installed the run says "No window manager" and
# ends without running COMMAND, which the caller shows as skipped.
#
# Xvfb picks a free display number itself (-displayfd), so display tests side
# by side, in one ctest run or in several, never share or race for one. A server that does not start fails the run, and COMMAND is told
# (VELQUA_DISPLAY_REQUIRED) that a display it cannot open is a failure, not a
# reason to skip. The server never resets (-noreset): a test that closes its
# last connection must not leave the next one knocking on a server that is
# starting over.
set -u
XVFB=$1
shift
screen=640x480x24
manager=
with_manager=
while :; do
    case "${1:-}" in
        --screen) screen=$2; shift 2 ;;
        --window-manager) with_manager=1; manager=$2; shift 2 ;;
        *) break ;;
    esac
done
if [ -n "$with_manager" ] && { [ -z "$manager" ] || ! [ -x "$manager" ]; }; then
    echo "No window manager: ${manager:-openbox} is not installed"
    exit 0
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/velqua-display-XXXXXX") || exit 1
server=
wm=
cleanup() {
    if [ -n "$wm" ]; then
        kill "$wm" 2>/dev/null
        wait "$wm" 2>/dev/null
    fi
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null
        wait "$server" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
mkfifo "$dir/display"
"$XVFB" -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
number=
read -r number <"$dir/display"
if [ -z "$number" ]; then
    echo "run_on_display.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
fi
if [ -n "$manager" ]; then
    DISPLAY=:$number HOME=$dir XDG_CACHE_HOME=$dir XDG_CONFIG_HOME=$dir "$manager" >"$dir/wm.log" 2>&1 &
    wm=$!
fi
DISPLAY=:$number VELQUA_DISPLAY_REQUIRED=1 "$@"
status=$?
exit $status
