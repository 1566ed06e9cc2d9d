#include "engine/qsort.h"

#include <utility>

namespace veltrano {

void QSort(std::vector<double>& list, std::int32_t low, std::int32_t high) {
    if (low > high) return;
    std::int32_t i = low;
    std::int32_t j = high;
    const double pivot = list[static_cast<std::size_t>((low + high) / 2)];
    while (i <= j) {
        while (list[i] < pivot && i < high) ++i;
        while (pivot < list[j] && j > low) --j;
        if (i <= j) {
            std::swap(list[i], list[j]);
            ++i;
            --j;
        }
    }
    if (low < j) QSort(list, low, j);
    if (i < high) QSort(list, i, high);
}

}  // namespace veltrano
