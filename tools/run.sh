#!/usr/bin/env bash
# Installs what is missing, builds the program and starts a solo game.
# Any arguments are handed to the program: name, host address, "true" to host.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build
cmake --build build --parallel "$(nproc)"
exec build/euchre "$@"
