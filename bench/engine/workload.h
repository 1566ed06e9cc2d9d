// The placement workload every engine benchmark runs: 100 polylines of 200 nodes, 150 km
// long, and 20 distances that fall on every one of them; the same lines in every run.
#pragma once

#include <random>
#include <vector>

#include "workload/placement_workspace.h"

namespace veltrano::testing {

inline constexpr int kLines = 100;
inline constexpr int kNodes = 200;
inline constexpr int kDistances = 20;
inline constexpr double kLineLengthM = 150000;

struct Workload {
    const char* clause;
    std::vector<Sections> lines;
    std::vector<double> distances;
};

inline Workload makeWorkload(bool latLong) {
    std::mt19937_64 rng(latLong ? 1 : 2);
    Workload w{latLong ? kLatLongClause : kUtmClause, {}, {}};
    for (int i = 0; i < kLines; ++i) {
        w.lines.push_back(latLong ? randomLatLongLine(rng, kLineLengthM, kNodes)
                                  : randomUtmLine(rng, kLineLengthM, kNodes));
    }
    // Spread over the first 140 km, so that every distance falls on every line.
    for (int k = 1; k <= kDistances; ++k) w.distances.push_back(k * 7000.0 - 1234.5);
    return w;
}

inline const Workload& workload(bool latLong) {
    static const Workload latLongWork = makeWorkload(true);
    static const Workload utmWork = makeWorkload(false);
    return latLong ? latLongWork : utmWork;
}

}  // namespace veltrano::testing
