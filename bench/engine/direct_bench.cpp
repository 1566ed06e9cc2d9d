// The price of the host-driven design: the engine benchmarks' placement (every distance along
// every line) computed directly in this process from the nodes in memory, with GEOS's planar
// interpolation for the UTM lines and GeographicLib's geodesics for the lat/long ones.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/engine/workload.h"

#ifdef VELTRANO_BENCH_GEOS
#include <geos_c.h>
#endif
#ifdef VELTRANO_BENCH_GEOGRAPHICLIB
#include <GeographicLib/Geodesic.hpp>
#endif

namespace veltrano::testing {
namespace {

void reportPoints(benchmark::State& state, std::size_t perPass) {
    state.counters["points/s"] =
        benchmark::Counter(static_cast<double>(perPass) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

#ifdef VELTRANO_BENCH_GEOS
void BM_DirectUtmGeos(benchmark::State& state) {
    const Workload& w = workload(false);
    GEOSContextHandle_t geos = GEOS_init_r();
    std::vector<GEOSGeometry*> lines;
    for (const Sections& line : w.lines) {
        const auto& nodes = line.front();
        GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos, nodes.size(), 2);
        for (unsigned i = 0; i < nodes.size(); ++i) {
            GEOSCoordSeq_setXY_r(geos, sequence, i, nodes[i].x, nodes[i].y);
        }
        lines.push_back(GEOSGeom_createLineString_r(geos, sequence));
    }
    std::vector<mbhost::Point> placed;
    for (auto _ : state) {
        placed.clear();
        for (const GEOSGeometry* line : lines) {
            for (double d : w.distances) {
                GEOSGeometry* point = GEOSInterpolate_r(geos, line, d);
                mbhost::Point p;
                GEOSGeomGetX_r(geos, point, &p.x);
                GEOSGeomGetY_r(geos, point, &p.y);
                placed.push_back(p);
                GEOSGeom_destroy_r(geos, point);
            }
        }
        benchmark::DoNotOptimize(placed.data());
    }
    reportPoints(state, placed.size());
    for (GEOSGeometry* line : lines) GEOSGeom_destroy_r(geos, line);
    GEOS_finish_r(geos);
}
BENCHMARK(BM_DirectUtmGeos)->Unit(benchmark::kMillisecond);
#endif

#ifdef VELTRANO_BENCH_GEOGRAPHICLIB
// Walks each line's geodesic segments up to every distance (they ascend) and steps the rest
// of the way along the segment's azimuth.
void BM_DirectLatLongGeographicLib(benchmark::State& state) {
    const Workload& w = workload(true);
    const GeographicLib::Geodesic& g = GeographicLib::Geodesic::WGS84();
    std::vector<mbhost::Point> placed;
    for (auto _ : state) {
        placed.clear();
        for (const Sections& line : w.lines) {
            const auto& n = line.front();
            std::size_t seg = 0;
            double start = 0, s12 = 0, azi1 = 0, azi2 = 0;
            g.Inverse(n[0].y, n[0].x, n[1].y, n[1].x, s12, azi1, azi2);
            for (double d : w.distances) {
                while (start + s12 < d && seg + 2 < n.size()) {
                    start += s12;
                    ++seg;
                    g.Inverse(n[seg].y, n[seg].x, n[seg + 1].y, n[seg + 1].x, s12, azi1, azi2);
                }
                mbhost::Point p;
                g.Direct(n[seg].y, n[seg].x, azi1, d - start, p.y, p.x);
                placed.push_back(p);
            }
        }
        benchmark::DoNotOptimize(placed.data());
    }
    reportPoints(state, placed.size());
}
BENCHMARK(BM_DirectLatLongGeographicLib)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace veltrano::testing
