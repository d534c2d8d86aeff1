#!/usr/bin/env bash
# Runs screenreader_bus.py: a virtual screen of its own, a private session bus
# with the accessibility bus on it, and the program playing a solo game for
# the script. Skips (exit 77) when the accessibility bus cannot be had here.
# screenreader_bus.sh <euchre binary>
set -uo pipefail
here=$(dirname "$0")
bin=$1
skip() {
    echo "SKIP: $1 (Debian: at-spi2-core python3-pyatspi dbus-daemon xvfb)"
    exit 77
}
python=/usr/bin/python3
[ -x "$python" ] || skip "no /usr/bin/python3"
command -v Xvfb >/dev/null || skip "no Xvfb"
command -v dbus-run-session >/dev/null || skip "no dbus-run-session"
"$python" -c 'import pyatspi' 2>/dev/null || skip "no pyatspi for $python"
[ -e /usr/share/dbus-1/services/org.a11y.Bus.service ] || skip "no accessibility bus service"
[ -x "$bin" ] || { echo "FAIL: $bin is not built"; exit 1; }

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# The screen picks a free display number itself and writes it when it is
# ready, so two runs at once never take the same one; it never resets, so a
# client leaving does not shut the door on the next.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; skip "the virtual screen did not start"; }
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- true 2>/dev/null || skip "no private session bus"
# The game has its own limit; this one is for a bus that hangs.
timeout -k 5 120 dbus-run-session -- "$python" "$here/screenreader_bus.py" "$bin" 2>"$work/bus.log"
rc=$?
if [ "$rc" -ne 0 ]; then
    grep -v "fd limit" "$work/bus.log" | tail -20
    [ "$rc" -eq 124 ] && echo "FAIL: the accessibility bus did not answer in time"
fi
exit "$rc"
