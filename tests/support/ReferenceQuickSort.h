#pragma once

#include <string>
#include <utility>
#include <vector>

// The list quicksort written out plainly, recursion and all, as the yardstick for the
// production sort: whatever that does, it must leave exactly this order. Only for small
// inputs: on two sorted halves it recurses about n/2 deep.
template <class T, class Compare>
void ReferenceQuickSort(std::vector<T>& a, int left, int right, const Compare& compare)
{
    int l = left;
    do {
        int i = l;
        int j = right;
        int p = (l + right) / 2;
        do {
            while (compare(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(p)]) < 0)
                ++i;
            while (compare(a[static_cast<std::size_t>(j)], a[static_cast<std::size_t>(p)]) > 0)
                --j;
            if (i <= j) {
                std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            ReferenceQuickSort(a, l, j, compare);
        l = i;
    } while (l < right);
}

template <class T, class Compare>
std::vector<T> ReferenceSorted(std::vector<T> a, const Compare& compare)
{
    if (a.size() >= 2)
        ReferenceQuickSort(a, 0, static_cast<int>(a.size()) - 1, compare);
    return a;
}
