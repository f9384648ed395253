#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "core/common/Memoria.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define VANDORO_SOB_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANDORO_SOB_ASAN 1
#endif
#endif

namespace {

long long BytesResidentes() {
    std::ifstream f("/proc/self/statm");
    long long total = 0, residentes = 0;
    f >> total >> residentes;
    return residentes * sysconf(_SC_PAGESIZE);
}

}  // namespace

// The location's peak counts on this: a phase's small allocations, freed, must stop being
// resident before the next phase. free() keeps them while a later block is still held.
TEST(Memoria, FreedSmallBlocksUnderAHeldOneGoBackToTheSystem) {
#if !defined(__GLIBC__) || defined(VANDORO_SOB_ASAN)
    GTEST_SKIP() << "só o alocador da glibc devolve memória assim";
#else
    constexpr int kBlocos = 400000;  // about 85 MB of 200-byte blocks
    std::vector<char*> blocos(kBlocos);
    for (char*& b : blocos) {
        b = static_cast<char*>(std::malloc(200));
        std::memset(b, 1, 200);
    }
    // The last block, the highest in the heap, stays held.
    char* cerca = blocos.back();
    blocos.pop_back();
    for (char* b : blocos) std::free(b);
    const long long antes = BytesResidentes();
    DevolverMemoriaLivre();
    const long long depois = BytesResidentes();
    std::free(cerca);
    EXPECT_GT(antes - depois, 40LL << 20) << antes << " -> " << depois;
#endif
}
