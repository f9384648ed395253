#include "core/common/Memoria.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif
// malloc.h is what defines __GLIBC__ here: test for it only after including it.
#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void PaginasGrandes(const void* inicio, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kPagina = uintptr_t{2} << 20;
    if (bytes < 4 * kPagina) return;
    const uintptr_t a = (reinterpret_cast<uintptr_t>(inicio) + kPagina - 1) & ~(kPagina - 1);
    const uintptr_t b = (reinterpret_cast<uintptr_t>(inicio) + bytes) & ~(kPagina - 1);
    if (b > a) madvise(reinterpret_cast<void*>(a), b - a, MADV_HUGEPAGE);
#else
    (void)inicio;
    (void)bytes;
#endif
}

void DevolverMemoriaLivre() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
