#include "tools/bench/Statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    const double rank = std::ceil(fraction * static_cast<double>(values.size()));
    const std::size_t index = std::min(values.size() - 1, static_cast<std::size_t>(std::max(rank, 1.0)) - 1);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index), values.end());
    return values[index];
}

double mean(const std::vector<double>& values) {
    if (values.empty()) return 0.0;
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}
