// The sort of the distance list.
#pragma once

#include <cstdint>
#include <vector>

namespace veltrano {

// Sorts list[low..high] ascending in place (quicksort, middle pivot, strict comparisons);
// elements outside the range are untouched and a range with low > high changes nothing.
// Bounds are indexes into list and must lie inside it when low <= high.
void QSort(std::vector<double>& list, std::int32_t low, std::int32_t high);

// The whole list, as both callers sort it.
inline void QSort(std::vector<double>& list) {
    if (!list.empty()) QSort(list, 0, static_cast<std::int32_t>(list.size()) - 1);
}

}  // namespace veltrano
