#!/usr/bin/env bash
# The tally coder's fuzz target; tools/fuzz.sh runs every target.
# usage: tools/fuzz-tally.sh [SECONDS]
exec "$(dirname "$0")/fuzz.sh" tally "${1:-60}"
