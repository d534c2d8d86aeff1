#!/usr/bin/env bash
# Builds the stand-alone host and the discovery benchmark and runs it: queries
# as fast as one socket sends them for two seconds (or --seconds N), and the
# answers a second that come back.
# EUCHRE_HOST_BIN measures another host program instead of this build's.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build --target euchre-host euchre-discoverybench >/dev/null
exec build/euchre-discoverybench --host "${EUCHRE_HOST_BIN:-build/euchre-host}" "$@"
