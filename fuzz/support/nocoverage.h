// Marks a fuzz target's own checking code to be left out of the coverage
// that steers the fuzzer. The checks run after every step, so their loops
// would swamp each input's coverage with counts that only tell how many
// steps it had, and every counter costs the fuzzer time on every input.
// What the checks do and catch is the same either way; sanitizers still
// instrument them.
#pragma once

#if defined(__clang__)
#define EUCHRE_FUZZ_UNCOVERED __attribute__((no_sanitize("coverage")))
#else
#define EUCHRE_FUZZ_UNCOVERED
#endif
