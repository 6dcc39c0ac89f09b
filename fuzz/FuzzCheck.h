#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property stops the run as a crash would, so libFuzzer keeps the input that broke it.
[[noreturn]] inline void FuzzFail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : FuzzFail(#condition, __FILE__, __LINE__))
