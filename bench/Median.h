#pragma once

#include <algorithm>
#include <vector>

// The middle of a set of timings: robust to the odd slow run on a busy machine.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
