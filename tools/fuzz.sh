#!/usr/bin/env bash
# Builds one fuzz target with clang and libFuzzer, under AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz/, and runs it for SECONDS at the
# lowest priority. Each target keeps its own corpus in build-fuzz/corpus/NAME
# (started from the checked-in fuzz/corpus/NAME) and uses fuzz/dict/NAME.dict.
# At the end it prints the inputs run, the time, the coverage (libFuzzer's cov
# and ft) and the corpus; a crash, leak or sanitizer report leaves its input in
# build-fuzz/ and the log in build-fuzz/fuzz-NAME.log, and the status is 1.
# A target that keeps its window or host from one input to the next makes a
# new one every EUCHRE_FUZZ_REUSE inputs (200 here; 1 replays each input
# alone, the way a crash's input is checked). More libFuzzer options may
# follow, e.g. -runs=10000000 or -jobs=2.
# usage: tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#        targets: the NAME.cpp files of fuzz/ (tally, table, host)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=$(cd fuzz && ls ./*.cpp | sed 's|^\./||; s|\.cpp$||' | grep -vx replay | tr '\n' ' ')
if [ $# -lt 1 ] || [ ! -f "fuzz/$1.cpp" ] || [ "$1" = replay ]; then
    echo "usage: tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]" >&2
    echo "targets: $targets" >&2
    exit 2
fi
target=$1
seconds=${2:-60}
shift $(($# >= 2 ? 2 : 1))
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is needed (apt-get install clang)" >&2
    exit 1
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DEUCHRE_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz --parallel 2 --target "fuzz-$target"

# New inputs go to the first folder; the checked-in seeds are read each run.
corpus=build-fuzz/corpus/$target
mkdir -p "$corpus"
seeds=()
if [ -d "fuzz/corpus/$target" ]; then seeds=("fuzz/corpus/$target"); fi
dict=()
if [ -f "fuzz/dict/$target.dict" ]; then dict=(-dict="fuzz/dict/$target.dict"); fi
log=build-fuzz/fuzz-$target.log

export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*.debug=false;qt.*=false'
# Two frames of where a block was allocated and freed: recording whole stacks
# for every allocation took about a fifth of the run. A report still shows the
# whole stack of the bad access, and build/tests/fuzz-replay-NAME replaying the
# input shows the whole allocation stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=0:malloc_context_size=2}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp:print_suppressions=0}
export EUCHRE_FUZZ_REUSE=${EUCHRE_FUZZ_REUSE:-200}
echo "fuzz-$target: running for $seconds s; log in $log"
start=$(date +%s)
status=0
nice -n 19 "build-fuzz/fuzz-$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/$target-" "${dict[@]}" "$@" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
elapsed=$(($(date +%s) - start))

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
last=$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -n1 || true)
cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1/p' <<<"$last")
rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -n1)
runs=${runs:-0}
rate=$((elapsed > 0 ? runs / elapsed : runs))
echo "fuzz-$target: ${runs} inputs in ${elapsed} s (${rate}/s), cov ${cov:-?} ft ${ft:-?}," \
    "corpus ${corp:-?} (files/bytes), peak ${rss:-?} MB"
# libFuzzer's own status when the run was stopped with Ctrl-C or SIGINT.
if [ "$status" -eq 72 ] && grep -q 'libFuzzer: run interrupted' "$log"; then
    echo "fuzz-$target: stopped by hand; no crash, leak or sanitizer report until then"
    exit 0
fi
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz-$target: FAILED (status $status); the input is in build-fuzz/$target-*" >&2
    exit 1
fi
echo "fuzz-$target: no crash, leak or sanitizer report"
