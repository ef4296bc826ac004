#pragma once
// FlushDenormals: while alive, the SSE unit flushes subnormal results to zero
// and reads subnormal operands as zero, so a signal or filter tail decaying
// below float32's normal range costs no more than any other. The caller's
// mode is restored on leaving. Every build computes with SSE, the 32-bit x86
// ones included (CMakeLists.txt); where the arithmetic does not run on SSE
// this does nothing.

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VARNEX_HAS_SSE_CONTROL 1
#include <xmmintrin.h>
#else
#define VARNEX_HAS_SSE_CONTROL 0
#endif

class FlushDenormals {
  public:
#if VARNEX_HAS_SSE_CONTROL
    // Flush-to-zero (bit 15) and denormals-are-zero (bit 6) of MXCSR.
    static constexpr unsigned int FlushBits = 0x8040u;

    // Writing the control register is slow, so it is left alone when the
    // caller already flushes.
    FlushDenormals() : saved(_mm_getcsr()) {
        if ((saved & FlushBits) != FlushBits) {
            _mm_setcsr(saved | FlushBits);
        }
    }
    ~FlushDenormals() {
        if ((saved & FlushBits) != FlushBits) {
            _mm_setcsr(saved);
        }
    }

  private:
    unsigned int saved;
#else
    FlushDenormals() = default;
#endif

  public:
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;
};
