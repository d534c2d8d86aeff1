#!/usr/bin/env bash
# Builds the stand-alone host and the flood benchmark and runs the benchmark:
# a well-behaved client's chat latency while others flood the host.
# Arguments go to euchre-floodbench, e.g. --mode saturate --seconds 10.
# EUCHRE_HOST_BIN measures another host program instead of this build's.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build --target euchre-host euchre-floodbench >/dev/null
exec build/euchre-floodbench --host "${EUCHRE_HOST_BIN:-build/euchre-host}" "$@"
