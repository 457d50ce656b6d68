#pragma once
// Unaligned loads of four and eight bytes, for the hashes and comparisons of short keys, and
// ASCII upper-casing eight bytes at a time.

#include <cstddef>
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

// The eight bytes with a-z made A-Z; every other byte (those from 128 up too) as it is.
inline std::uint64_t Upper8(std::uint64_t x) {
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const std::uint64_t low7 = x & ~highs;
    const std::uint64_t from_a = low7 + (0x80 - 'a') * ones; // high bit: byte >= 'a'
    const std::uint64_t past_z = low7 + (0x7F - 'z') * ones; // high bit: byte > 'z'
    return x ^ ((from_a & ~past_z & ~x & highs) >> 2);
}

// The `n` bytes of `text`, upper-cased as Upper8 does it, equal those of `upper`. Eight bytes
// at a time, the last eight (or four) overlapping the ones before: keys are short.
inline bool Equal_Upper(const char* text, const char* upper, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            if (Upper8(Load8(text + i)) != Load8(upper + i))
                return false;
        return Upper8(Load8(text + n - 8)) == Load8(upper + n - 8);
    }
    if (n >= 4)
        return Upper8(Load4(text)) == Load4(upper) &&
               Upper8(Load4(text + n - 4)) == Load4(upper + n - 4);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != upper[i])
            return false;
    }
    return true;
}

} // namespace parvex
