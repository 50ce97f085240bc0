#include "bench/Comparison.h"

#include <algorithm>

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Comparison Compare(const std::vector<double>& subject, const std::vector<double>& baseline) {
    std::vector<double> ratios;
    for (size_t run = 0; run < subject.size() && run < baseline.size(); ++run) {
        if (baseline[run] > 0) {
            ratios.push_back(subject[run] / baseline[run]);
        }
    }
    Comparison comparison;
    comparison.ratio = Median(ratios);
    comparison.subject = Median(subject);
    comparison.baseline = Median(baseline);
    comparison.runs = static_cast<int>(ratios.size());
    return comparison;
}
