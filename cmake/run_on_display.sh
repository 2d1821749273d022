#!/bin/sh
# run_on_display.sh XVFB COMMAND [ARGS...]: runs COMMAND on an X display of
# its own. Xvfb picks a free display number itself (-displayfd), so display
# tests side by side, in one ctest run or in several, never share or race for
# one. A server that does not start fails the run, and COMMAND is told
# (VELQUA_DISPLAY_REQUIRED) that a display it cannot open is a failure, not a
# reason to skip. The server never resets (-noreset): a test that closes its
# last connection must not leave the next one knocking on a server that is
# starting over.
set -u
XVFB=$1
shift
dir=$(mktemp -d "${TMPDIR:-/tmp}/velqua-display-XXXXXX") || exit 1
server=
cleanup() {
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
"$XVFB" -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
number=
read -r number <"$dir/display"
if [ -z "$number" ]; then
    echo "run_on_display.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
fi
DISPLAY=:$number VELQUA_DISPLAY_REQUIRED=1 "$@"
status=$?
exit $status
