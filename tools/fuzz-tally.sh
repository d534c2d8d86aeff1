#!/usr/bin/env bash
# Builds the tally coder's libFuzzer target with clang in build-fuzz/ and runs
# it for SECONDS (default 60), starting from a few packed files.
# usage: tools/fuzz-tally.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! command -v clang++ >/dev/null; then
    echo "fuzz-tally: clang++ is needed (apt-get install clang)" >&2
    exit 1
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DEUCHRE_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz-tally-coder euchre-tally
corpus=build-fuzz/tally-corpus
mkdir -p "$corpus"
if [ -z "$(ls -A "$corpus")" ]; then
    printf 'abcabcabc' >"$corpus/plain-abc"
    head -c 40000 README.md >"$corpus/plain-readme"
    build-fuzz/euchre-tally compress "$corpus/plain-abc" "$corpus/packed-abc"
    build-fuzz/euchre-tally compress "$corpus/plain-readme" "$corpus/packed-readme"
fi
build-fuzz/fuzz-tally-coder -max_total_time="$seconds" -max_len=70000 "$corpus"
