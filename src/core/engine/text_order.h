#pragma once
// The one order for text lists: bytes compared after raising a-z to A-Z, ties kept in place.

#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// True when a sorts before b without regard to ASCII letter case.
bool Less_No_Case(std::string_view a, std::string_view b);
// Sorts the list stably in that order.
void Sort_No_Case(std::vector<std::string>& list);
// The same; a list longer than `copy_limit` is sorted in place (slower, no second list held).
void Sort_No_Case(std::vector<std::string>& list, std::size_t copy_limit);

} // namespace parvex
