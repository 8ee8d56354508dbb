#pragma once

#include <queue>
#include <vector>

namespace records {

// A value of given rank in a sample that only grows: each add costs O(log n), each answer O(1). The sample is
// split in two heaps, the lower one holding the first ceil(share × n) values in order.
class RunningRank
{
public:
    explicit RunningRank(double share);

    void add(double value);
    bool empty() const { return m_lower.empty(); }
    // The nearest-rank value: the smallest one that share of the sample does not exceed. Not for an empty sample.
    double nearestRank() const { return m_lower.top(); }
    // The median with share 0.5: the middle value, or the mean of the two middle values.
    double middle() const;

private:
    double m_share;
    std::priority_queue<double> m_lower;
    std::priority_queue<double, std::vector<double>, std::greater<>> m_upper;
};

} // namespace records
