#pragma once
// FUZZ_CHECK(condition) in a fuzz target: a condition that does not hold names itself and its line
// on stderr, then aborts, which the fuzzer reports as a finding with the input that did it.

#include <cstdio>
#include <cstdlib>

namespace orv::fuzz {

[[noreturn]] inline void failCheck(const char* condition, int line) {
    std::fprintf(stderr, "check failed, line %d: %s\n", line, condition);
    std::abort();
}

} // namespace orv::fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : ::orv::fuzz::failCheck(#condition, __LINE__))
