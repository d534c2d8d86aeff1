#!/usr/bin/env bash
# Measures how long the program lives on after its window is closed: starts
# build/euchre (or the program given) on a virtual screen, chooses File >
# Exit with the mouse, and prints the seconds until the process has ended.
# Run by hand: tools/close-time.sh [program] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/euchre}")
runs=${2:-3}
if [ -z "${EUCHRE_CLOSE_INNER:-}" ]; then
    command -v xdotool >/dev/null || {
        sudo_cmd=""
        [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
        DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq xdotool bc
    }
    for _ in $(seq "$runs"); do
        EUCHRE_CLOSE_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" 1
    done
    exit 0
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
printf '[Euchre]\r\nHideLobbyDownload=true\r\n' >"$home/bromlobby.ini"
EUCHRE_HOME=$home EUCHRE_PORT=$((20000 + RANDOM % 20000)) "$bin" >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Euchre$' 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1   # "File"
sleep 0.4
xdotool mousemove $((X + 30)) $((Y + 55))           # "Exit"
sleep 0.2
start=$(date +%s.%N)
xdotool click 1
while kill -0 "$pid" 2>/dev/null; do sleep 0.005; done
echo "ended $(echo "$(date +%s.%N) - $start" | bc) s after Exit"
