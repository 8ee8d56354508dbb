#pragma once

#include <optional>
#include <vector>

namespace records {

// The middle value, or the mean of the two middle values; nothing for an empty sample.
std::optional<double> median(std::vector<double> values);

// Hits over games; nothing before the first game.
std::optional<double> hitRate(int hits, int games);

} // namespace records
