#pragma once

#include <vector>

namespace bench {

// Nearest-rank percentile, p in (0, 1]. An empty sample (a benchmark filtered out) gives NaN.
double percentile(std::vector<double> values, double p);
double median(const std::vector<double> &values);
double minOf(const std::vector<double> &values);
double maxOf(const std::vector<double> &values);
double meanOf(const std::vector<double> &values);

// Prints one line for the summary that closes `make bench` (bench/run-all.sh gathers them).
void summary(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace bench
