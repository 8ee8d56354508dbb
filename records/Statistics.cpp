#include "records/Statistics.h"

#include <algorithm>

namespace records {

namespace {

// The median of a sample that is not empty; reorders it.
double middleOf(std::vector<double> &values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

} // namespace

std::optional<double> median(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    return middleOf(values);
}

std::optional<double> hitRate(int hits, int games)
{
    if (games <= 0)
        return std::nullopt;
    return static_cast<double>(hits) / games;
}

} // namespace records
