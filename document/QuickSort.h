#pragma once

#include <utility>
#include <vector>

// The list sort's own quicksort: not stable, and lines that compare equal must end in the
// order this exact procedure leaves them, so it is kept step for step rather than replaced
// by std::sort. `compare(a, b)` is negative, zero or positive; `swap(i, j)` exchanges items.
template <class Compare, class Swap>
void QuickSortRange(int left, int right, Compare&& compare, Swap&& swap)
{
    int l = left;
    do {
        int i = l;
        int j = right;
        int p = (l + right) >> 1;
        do {
            while (compare(i, p) < 0)
                ++i;
            while (compare(j, p) > 0)
                --j;
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
        if (l < j)
            QuickSortRange(l, j, compare, swap);
        l = i;
    } while (l < right);
}
