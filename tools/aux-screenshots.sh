#!/usr/bin/env bash
# Pictures of the windows around the table (help pages, spectator list,
# lobby download in each outcome, about), taken on a virtual screen from the
# tests that bring each window into its state. Usage:
#   tools/aux-screenshots.sh [build folder] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"
cmake --build "$build" --target client_tst_auxwindows >/dev/null
EUCHRE_SHOTS=$(realpath "$out") QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/client_tst_auxwindows" >/dev/null
echo "pictures in $out:"
ls "$out"
