#pragma once
// Numbers in the binary files: little-endian whatever the host's own order, read from and
// written to byte buffers.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace binario_interno {
template <class T>
using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                                std::conditional_t<sizeof(T) == 2, std::uint16_t,
                                                   std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
}  // namespace binario_interno

// The T (an integer, float or double) whose bytes start at 'p'.
template <class T>
T LerLE(const void* p) {
    static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8));
    using U = binario_interno::Bits<T>;
    const auto* b = static_cast<const unsigned char*>(p);
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>(u | static_cast<U>(static_cast<U>(b[i]) << (8 * i)));
    return std::bit_cast<T>(u);
}

// 'v' as sizeof(T) bytes at 'p'.
template <class T>
void GravarLE(void* p, std::type_identity_t<T> v) {
    static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8));
    using U = binario_interno::Bits<T>;
    auto* b = static_cast<unsigned char*>(p);
    const U u = std::bit_cast<U>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
}

// 'v' appended to 'out'.
template <class T>
void AcrescentarLE(std::string& out, std::type_identity_t<T> v) {
    char b[sizeof(T)];
    GravarLE<T>(b, v);
    out.append(b, sizeof(T));
}
