#pragma once

#include <vector>

/// The value below which `fraction` (0..1) of `values` lie, nearest rank; 0 when empty.
double percentile(std::vector<double> values, double fraction);
inline double median(const std::vector<double>& values) { return percentile(values, 0.5); }
double mean(const std::vector<double>& values);
