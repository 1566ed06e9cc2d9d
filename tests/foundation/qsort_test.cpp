#include "engine/qsort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace veltrano {
namespace {

using List = std::vector<double>;

TEST(qsort, sorts_the_small_lists) {
    List a{30, 10, 20};
    QSort(a);
    EXPECT_EQ(a, (List{10, 20, 30}));
    List b{5, 5, -3, 0};
    QSort(b);
    EXPECT_EQ(b, (List{-3, 0, 5, 5}));
    List c{9, 7, 5, 3, 1};
    QSort(c);
    EXPECT_EQ(c, (List{1, 3, 5, 7, 9}));
    List d{1, 2, 3};
    QSort(d);
    EXPECT_EQ(d, (List{1, 2, 3}));
    List one{4};
    QSort(one);
    EXPECT_EQ(one, (List{4}));
}

TEST(qsort, range_sort_leaves_the_outside_alone) {
    List a{50, 40, 30, 20, 10};
    QSort(a, 1, 3);
    EXPECT_EQ(a, (List{50, 20, 30, 40, 10}));
}

TEST(qsort, empty_or_inverted_range_changes_nothing) {
    List empty;
    QSort(empty);
    EXPECT_TRUE(empty.empty());
    List a{3, 1, 2};
    QSort(a, 2, 1);
    EXPECT_EQ(a, (List{3, 1, 2}));
}

TEST(qsort, agrees_with_std_sort_on_random_lists) {
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> size(1, 60);
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
