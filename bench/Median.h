#pragma once
// The middle value of a benchmark's runs: steadier than the mean on a shared machine.
#include <algorithm>
#include <vector>

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
