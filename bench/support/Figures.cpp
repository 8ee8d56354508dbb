#include "support/Figures.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <numeric>

namespace bench {

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double median(const std::vector<double> &values)
{
    return percentile(values, 0.5);
}

double minOf(const std::vector<double> &values)
{
    if (values.empty())
        return std::nan("");
    return *std::min_element(values.begin(), values.end());
}

double maxOf(const std::vector<double> &values)
{
    if (values.empty())
        return std::nan("");
    return *std::max_element(values.begin(), values.end());
}

double meanOf(const std::vector<double> &values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

void summary(const char *format, ...)
{
    std::printf("[summary] ");
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace bench
