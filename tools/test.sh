#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# With --sanitize the build goes to build-sanitize with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
dir=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    extra=(-DCMAKE_BUILD_TYPE=Debug -DEUCHRE_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
    export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
# Compiled objects are kept by ccache between builds, also of other
# checkouts of the program: paths are taken from here, so a fresh checkout
# elsewhere finds what an earlier build compiled.
if command -v ccache >/dev/null; then
    extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi
# A new build folder builds with Ninja; one made earlier keeps its generator.
[ -f "$dir/CMakeCache.txt" ] || extra+=(-G Ninja)
cmake -S . -B "$dir" "${extra[@]}"
cmake --build "$dir" --parallel "$(nproc)"
cd "$dir"
ctest --output-on-failure --parallel "$(nproc)"
