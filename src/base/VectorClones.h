// Marks a hot loop to be built twice, for processors with AVX2 and for any
// x86-64, the loader picking one at run time; elsewhere, and with clang
// (the sanitizer and fuzzing builds), it builds once.
// FMA is left out on purpose: a fused multiply-add rounds once where the
// plain code rounds twice, and results must not depend on the processor.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(TVLC_NO_VECTOR_CLONES)
#define TVLC_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TVLC_VECTOR_CLONES
#endif
