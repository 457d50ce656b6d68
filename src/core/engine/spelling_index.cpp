#include "engine/spelling_index.h"

#include "engine/byte_loads.h"

#include <algorithm>
#include <cstring>

namespace parvex {

std::uint32_t SpellingIndex::Hash(std::string_view word) {
    // The first and last bytes of the word, in loads that overlap rather than run past it.
    const char* p = word.data();
    const std::size_t n = word.size();
    std::uint64_t h = 0x9E3779B97F4A7C15ull * (n + 1);
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            h = (h ^ Load8(p + i)) * 0xFF51AFD7ED558CCDull;
        h ^= Load8(p + n - 8);
    } else if (n >= 4) {
        h ^= Load4(p) | (std::uint64_t{Load4(p + n - 4)} << 32);
    } else if (n > 0) {
        h ^= static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[n / 2]) << 8) |
             (static_cast<unsigned char>(p[n - 1]) << 16);
    }
    h *= 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::uint32_t>(h >> 32);
}

bool SpellingIndex::same(const char* a, const char* b, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            if (Load8(a + i) != Load8(b + i))
                return false;
        return Load8(a + n - 8) == Load8(b + n - 8);
    }
    if (n >= 4)
        return Load4(a) == Load4(b) && Load4(a + n - 4) == Load4(b + n - 4);
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

void SpellingIndex::Add(std::string_view word, std::uint32_t hash, std::uint32_t value) {
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t m = slots_.size() - 1;
    std::size_t s = hash & m;
    while (slots_[s].value != kAbsent)
        s = (s + 1) & m;
    slots_[s] = {hash, value, static_cast<std::uint32_t>(spellings_.size()),
                 static_cast<std::uint32_t>(word.size())};
    spellings_.append(word);
    ++used_;
}

void SpellingIndex::grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 256 : old.size() * 2, Slot{});
    const std::size_t m = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.value == kAbsent)
            continue;
        std::size_t s = slot.hash & m;
        while (slots_[s].value != kAbsent)
            s = (s + 1) & m;
        slots_[s] = slot;
    }
}

void SpellingIndex::Clear() {
    spellings_.clear();
    // Its room stays for the next file, which starts small again (a large table would cost
    // every small file that follows the clearing of all of it); one grown very large is let go.
    if (slots_.size() > (std::size_t{1} << 16))
        std::vector<Slot>().swap(slots_);
    else
        slots_.assign(std::min<std::size_t>(slots_.size(), 1024), Slot{});
    used_ = 0;
}

} // namespace parvex
