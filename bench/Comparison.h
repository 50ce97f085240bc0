#pragma once

#include <vector>

// One figure of the monitor against its baseline, both measured in the same runs.
struct Comparison {
    double ratio = 0;     // median of the per-run ratios
    double subject = 0;   // median of the monitor's values
    double baseline = 0;  // median of the baseline's values
    int runs = 0;
};

double Median(std::vector<double> values);
// Pairs the i-th value of each side: both were measured in the same run, under the same load.
Comparison Compare(const std::vector<double>& subject, const std::vector<double>& baseline);
