#pragma once
// Unaligned loads of four and eight bytes, for the hashes and comparisons of short keys.

#include <cstdint>
#include <cstring>

namespace parvex {

inline std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline std::uint32_t Load4(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

} // namespace parvex
