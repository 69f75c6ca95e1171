#pragma once

// The list sort's own quicksort: not stable, and lines that compare equal must end in the
// order this exact procedure leaves them, so it is kept step for step rather than replaced
// by std::sort. `compare(a, b)` is negative, zero or positive; `swap(i, j)` exchanges items.
//
// After a partition the two parts are disjoint ranges that are sorted independently, so
// which one goes first changes nothing: the smaller one is sorted by recursion and the
// larger one by the loop, which keeps the stack within log2(n) frames even on the inputs
// (two sorted halves, say) where a partition splits off only an item or two.
template <class Compare, class Swap>
void QuickSortRange(int left, int right, Compare&& compare, Swap&& swap)
{
    while (left < right) {
        int i = left;
        int j = right;
        int p = (left + right) >> 1;
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
        if (j - left < right - i) {
            if (left < j)
                QuickSortRange(left, j, compare, swap);
            left = i;
        } else {
            if (i < right)
                QuickSortRange(i, right, compare, swap);
            right = j;
        }
    }
}
