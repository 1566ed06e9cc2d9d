#include "engine/qsort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace veltrano {
namespace {

using List = std::vector<double>;

TEST(qsort, agrees_with_std_sort_on_random_lists_empty_to_sixty_long) {
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> size(0, 60);
    std::uniform_int_distribution<int> small(-5, 5);  // many duplicates
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    for (int k = 0; k < 10000; ++k) {
        List list(static_cast<std::size_t>(size(gen)));
        for (double& v : list) v = (k % 2) ? small(gen) : wide(gen);
        List expected = list;
        std::sort(expected.begin(), expected.end());
        QSort(list);
        ASSERT_EQ(list, expected) << "list " << k;
    }
}

}  // namespace
}  // namespace veltrano
