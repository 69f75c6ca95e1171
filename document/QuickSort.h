#pragma once

#include <cstdint>
#include <limits>

// The list sort's own quicksort: not stable, and lines that compare equal must end in the
// order this exact procedure leaves them, so it is kept step for step rather than replaced
// by std::sort. `compare(a, b)` is negative, zero or positive; `swap(i, j)` exchanges items.
//
// After a partition the two parts are disjoint ranges that are sorted independently, so
// which one goes first changes nothing: the smaller one is sorted by recursion and the
// larger one by the loop, which keeps the stack within log2(n) frames even on the inputs
// (two sorted halves, say) where a partition splits off only an item or two.
//
// On those inputs the procedure itself is quadratic. `budget` is the number of comparisons
// it may still make: each one spends one, and the sort gives up (returns false, the items
// left in some order of its own) rather than make one more than that. The total does not
// depend on which part goes first, so the procedure finishes exactly when it needs no more
// comparisons than the budget it was given.
template <class Compare, class Swap>
bool QuickSortRangeWithin(int left, int right, std::int64_t& budget, Compare&& compare, Swap&& swap)
{
    while (left < right) {
        int i = left;
        int j = right;
        int p = (left + right) >> 1;
        do {
            while (--budget >= 0 && compare(i, p) < 0)
                ++i;
            while (--budget >= 0 && compare(j, p) > 0)
                --j;
            if (budget < 0)
                return false;
            if (i <= j) {
                if (i != j)
                    swap(i, j);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            if (left < j && !QuickSortRangeWithin(left, j, budget, compare, swap))
                return false;
            left = i;
        } else {
            if (i < right && !QuickSortRangeWithin(i, right, budget, compare, swap))
                return false;
            right = j;
        }
    }
    return true;
}

template <class Compare, class Swap>
void QuickSortRange(int left, int right, Compare&& compare, Swap&& swap)
{
    std::int64_t unlimited = std::numeric_limits<std::int64_t>::max();
    QuickSortRangeWithin(left, right, unlimited, compare, swap);
}
