#include "engine/text_order.h"

#include <algorithm>

namespace parvex {

namespace {
inline unsigned char up(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
}
} // namespace

bool Less_No_Case(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = up(a[i]), y = up(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

void Sort_No_Case(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return Less_No_Case(a, b); });
}

} // namespace parvex
