// One host request against the geodesic it wraps: the walk's Distance request (fresh
// coordinates every time, its shape seen before) through the in-process adapter, and one
// geod_inverse of PROJ between the same points. Their ratio is what asking the host for a
// distance costs over computing it.
#include <benchmark/benchmark.h>
#include <geodesic.h>

#include <random>
#include <string>
#include <vector>

#include "automation/inprocess/inprocess_automation.h"
#include "engine/placement_texts.h"

namespace {

struct Segment {
    double lon1, lat1, lon2, lat2;
};

// Point pairs a few kilometres apart, around the lat/long workload's lines.
const std::vector<Segment>& segments() {
    static const std::vector<Segment> all = [] {
        std::mt19937_64 rng(3);
        std::uniform_real_distribution<double> step(-0.05, 0.05);
        std::vector<Segment> out;
        for (int i = 0; i < 4096; ++i) {
            const double lon = -38.7 + 4 * step(rng);
            const double lat = 21.2 + 4 * step(rng);
            out.push_back({lon, lat, lon + step(rng), lat + step(rng)});
        }
        return out;
    }();
    return all;
}

void BM_DistanceRequestInProcess(benchmark::State& state) {
    veltrano::InProcessAutomation host;
    host.Do("Set CoordSys Earth Projection 1, 104");
    std::vector<std::string> texts;
    for (const Segment& s : segments()) {
        texts.push_back(veltrano::placement_text::pointDistance(s.lon1, s.lat1, s.lon2, s.lat2));
    }
    host.Eval(texts.back());  // the shape is seen before the timing starts
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.Eval(texts[i]));
        i = (i + 1) % texts.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_GeodInverse(benchmark::State& state) {
    geod_geodesic g;
    geod_init(&g, 6378137, 1 / 298.257223563);
    std::size_t i = 0;
    for (auto _ : state) {
        const Segment& s = segments()[i];
        double s12 = 0;
        geod_inverse(&g, s.lat1, s.lon1, s.lat2, s.lon2, &s12, nullptr, nullptr);
        benchmark::DoNotOptimize(s12);
        i = (i + 1) % segments().size();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_DistanceRequestInProcess);
BENCHMARK(BM_GeodInverse);

}  // namespace
