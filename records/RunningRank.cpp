#include "records/RunningRank.h"

#include <cmath>

namespace records {

RunningRank::RunningRank(double share)
    : m_share(share)
{
}

void RunningRank::add(double value)
{
    if (!m_lower.empty() && value > m_lower.top())
        m_upper.push(value);
    else
        m_lower.push(value);
    const size_t count = m_lower.size() + m_upper.size();
    const auto wanted = std::max<size_t>(1, static_cast<size_t>(std::ceil(m_share * static_cast<double>(count) - 1e-9)));
    while (m_lower.size() > wanted) {
        m_upper.push(m_lower.top());
        m_lower.pop();
    }
    while (m_lower.size() < wanted) {
        m_lower.push(m_upper.top());
        m_upper.pop();
    }
}

double RunningRank::middle() const
{
    if (m_upper.size() == m_lower.size())
        return (m_lower.top() + m_upper.top()) / 2;
    return m_lower.top();
}

} // namespace records
