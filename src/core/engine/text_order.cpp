#include "engine/text_order.h"

#include <algorithm>
#include <cstdint>

namespace parvex {

namespace {
inline unsigned char up(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}
} // namespace

bool Less_No_Case(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] == y[i]) // equal bytes stay equal once raised: the common case in sorted lists
            continue;
        unsigned char p = up(x[i]), q = up(y[i]);
        if (p != q)
            return p < q;
    }
    return a.size() < b.size();
}

void Sort_No_Case(std::vector<std::string>& list) {
    // The first eight raised bytes of each line, packed so that comparing the numbers compares
    // the bytes; only lines that agree there are compared in full. Lines are moved once, at the
    // end, instead of at every step of the sort.
    struct Entry {
        std::uint64_t prefix;
        std::uint32_t index;
    };
    std::vector<Entry> entries(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::uint64_t p = 0;
        const std::string& s = list[i];
        for (std::size_t k = 0; k < 8; ++k)
            p = (p << 8) | (k < s.size() ? up(static_cast<unsigned char>(s[k])) : 0u);
        entries[i] = {p, static_cast<std::uint32_t>(i)};
    }
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return Less_No_Case(list[a.index], list[b.index]);
    });
    std::vector<std::string> sorted;
    sorted.reserve(list.size());
    for (const Entry& e : entries)
        sorted.push_back(std::move(list[e.index]));
    list.swap(sorted);
}

} // namespace parvex
