#include "document/QuickSort.h"
#include "tests/support/ReferenceQuickSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// Items compare by their value / 4, so items that compare equal stay distinguishable and
// any difference in how equal items end up shows.
int Coarse(int a, int b) { return (a >> 2) - (b >> 2); }

std::vector<int> Sorted(std::vector<int> v, std::uintptr_t* deepest = nullptr)
{
    if (v.size() < 2)
        return v;
    QuickSortRange(
        0, static_cast<int>(v.size()) - 1,
        [&](int a, int b) {
            if (deepest) {
                volatile char here = 0;
                const auto at = reinterpret_cast<std::uintptr_t>(&here);
                if (*deepest == 0 || at < *deepest)
                    *deepest = at;
            }
            return Coarse(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]);
        },
        [&](int a, int b) { std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]); });
    return v;
}

std::vector<int> TwoSortedHalves(int half)
{
    std::vector<int> v;
    for (int copy = 0; copy < 2; ++copy)
        for (int i = 0; i < half; ++i)
            v.push_back(i * 4 + copy);
    return v;
}

TEST(QuickSort, LeavesExactlyTheOrderOfTheRecursiveProcedure)
{
    std::mt19937 rng(2024);
    std::vector<std::vector<int>> inputs = {TwoSortedHalves(300), {}, {7}, {5, 4}};
    for (int round = 0; round < 400; ++round) {
        std::vector<int> v(rng() % 60);
        const unsigned spread = 1 + rng() % 80; // small spreads give many equal items
        for (int& x : v)
            x = static_cast<int>(rng() % spread);
        inputs.push_back(v);
    }
    for (const std::vector<int>& v : inputs)
        ASSERT_EQ(Sorted(v), ReferenceSorted(v, Coarse)) << "input of " << v.size() << " items";
}

// The budget is the procedure's exact count of comparisons: given that many it finishes with
// the procedure's order, given one fewer it gives up.
TEST(QuickSort, FinishesExactlyWhenTheBudgetCoversEveryComparison)
{
    std::mt19937 rng(99);
    std::vector<std::vector<int>> inputs = {TwoSortedHalves(200), {3, 1, 2}, {5, 4}};
    for (int round = 0; round < 200; ++round) {
        std::vector<int> v(2 + rng() % 80);
        const unsigned spread = 1 + rng() % 60;
        for (int& x : v)
            x = static_cast<int>(rng() % spread);
        inputs.push_back(v);
    }
    for (const std::vector<int>& v : inputs) {
        std::int64_t needed = 0;
        const std::vector<int> reference = ReferenceSorted(v, [&](int a, int b) {
            ++needed;
            return Coarse(a, b);
        });
        for (const std::int64_t given : {needed, needed - 1}) {
            std::vector<int> w = v;
            std::int64_t budget = given;
            const bool finished = QuickSortRangeWithin(
                0, static_cast<int>(w.size()) - 1, budget,
                [&](int a, int b) { return Coarse(w[static_cast<std::size_t>(a)], w[static_cast<std::size_t>(b)]); },
                [&](int a, int b) { std::swap(w[static_cast<std::size_t>(a)], w[static_cast<std::size_t>(b)]); });
            ASSERT_EQ(finished, given == needed) << v.size() << " items, budget " << given << " of " << needed;
            if (finished) {
                ASSERT_EQ(w, reference);
                ASSERT_EQ(budget, 0);
            }
        }
    }
}

// Two sorted halves drive the partition to split off a couple of items at a time; the
// stack must still stay shallow.
TEST(QuickSort, StackStaysShallowOnTwoSortedHalves)
{
    volatile char top = 0;
    std::uintptr_t deepest = 0;
    const std::vector<int> v = TwoSortedHalves(10000);
    const std::vector<int> sorted = Sorted(v, &deepest);
    ASSERT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](int a, int b) { return Coarse(a, b) < 0; }));
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(&top) - deepest, 16u * 1024u);
}

} // namespace
