#pragma once
// How a fuzz target reports a broken promise that no sanitizer sees: a message and an abort,
// which libFuzzer records as a crash with its input.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzFail(const char* what) {
  std::fprintf(stderr, "fuzz failure: %s\n", what);
  std::abort();
}
