#pragma once
// The row kernels select with comparisons; GCC turns them into vector code only when it
// may ignore floating-point exception flags, which nothing here reads. Values are the same.
// Such a function gets no helper inlined, so its body is plain expressions.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
// Also a 256-bit variant, picked at start-up when the processor has it.
#define VANDORO_VETORIZA \
    __attribute__((optimize("no-trapping-math"), target_clones("avx2", "default")))
#elif defined(__GNUC__) && !defined(__clang__)
#define VANDORO_VETORIZA __attribute__((optimize("no-trapping-math")))
#else
#define VANDORO_VETORIZA
#endif
