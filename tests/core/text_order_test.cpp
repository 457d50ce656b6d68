#include "engine/text_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace parvex;

TEST(TextOrder, SortInPlaceMatchesAStableSortOnLongLists) {
    // Many lines equal but for letter case, and long prefixes shared by all: the order of the
    // equal ones must stay as it was, however the lines are moved into place.
    std::mt19937 random(7);
    for (int prefix_length : {0, 9}) {
        std::vector<std::string> list;
        for (int i = 0; i < 5000; ++i) {
            std::string line(static_cast<std::size_t>(prefix_length), 'p');
            for (int k = 0; k < 3; ++k) {
                char c = static_cast<char>('a' + random() % 3);
                line.push_back(random() % 2 ? static_cast<char>(c - 32) : c);
            }
            line += "\t#" + std::to_string(i % 17);
            list.push_back(line);
        }
        std::vector<std::string> expected = list;
        std::stable_sort(
            expected.begin(), expected.end(),
            [](const std::string& x, const std::string& y) { return Less_No_Case(x, y); });
        for (std::size_t copy_limit : {std::size_t{0}, list.size()}) { // in place, and copied
            std::vector<std::string> sorted = list;
            Sort_No_Case(sorted, copy_limit);
            EXPECT_EQ(sorted, expected) << prefix_length << " " << copy_limit;
        }
    }
}
