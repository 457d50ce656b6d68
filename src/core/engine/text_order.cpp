#include "engine/text_order.h"

#include <algorithm>

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
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return Less_No_Case(a, b); });
}

} // namespace parvex
