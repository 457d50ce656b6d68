#include "engine/text_order.h"

#include <algorithm>
#include <cstdint>

namespace parvex {

namespace {
inline unsigned char up(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}
} // namespace

namespace {
// Negative, zero or positive as a sorts before, with or after b.
int compare_no_case(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] == y[i])
            continue;
        unsigned char p = up(x[i]), q = up(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
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
    Sort_No_Case(list, std::size_t{1} << 20); // a second list of up to 32 MB is quicker
}

void Sort_No_Case(std::vector<std::string>& list, std::size_t copy_limit) {
    // The first eight raised bytes of each line, packed so that comparing the numbers compares
    // the bytes; only lines that agree there are compared in full.
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
        return compare_no_case(list[a.index], list[b.index]) < 0;
    });
    // Position k takes the line that stood at entries[k].index. A short list goes into a new
    // one in order (quick: the writes are sequential); a long one is moved into place along the
    // cycles of the order, so that it never exists twice: ten million short lines would need
    // 320 MB more.
    if (entries.size() <= copy_limit) {
        std::vector<std::string> sorted;
        sorted.reserve(list.size());
        for (const Entry& e : entries)
            sorted.push_back(std::move(list[e.index]));
        list.swap(sorted);
        return;
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (entries[k].index == k)
            continue;
        std::string held = std::move(list[k]);
        std::size_t j = k;
        for (;;) {
            const std::size_t from = entries[j].index;
            entries[j].index = static_cast<std::uint32_t>(j);
            if (from == k) {
                list[j] = std::move(held);
                break;
            }
            list[j] = std::move(list[from]);
            j = from;
        }
    }
}

} // namespace parvex
