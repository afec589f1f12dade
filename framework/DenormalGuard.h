#pragma once
// Switches the processor to flush-to-zero and denormals-are-zero for the guard's lifetime,
// restoring the previous floating-point control state afterwards. [thread-safe: per thread]
#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace framework {

class DenormalGuard {
public:
#if defined(__SSE__) || defined(_M_X64)
  DenormalGuard() noexcept : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(saved); }

private:
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned saved;
#else
  DenormalGuard() noexcept {}
#endif

public:
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;
};

}  // namespace framework
