// In-process request rate of the three requests Veltrano sends most: a node pair, a distance
// on longitude/latitude, and the insert of one point; beside them the bare geodesic call, so
// the cost of parsing, evaluating and formatting stands out.
#include <benchmark/benchmark.h>
#include <geodesic.h>

#include <string>
#include <vector>

#include "automation/inprocess/inprocess_automation.h"

namespace {

constexpr const char* kNodePair =
    "format$(ObjectNodeX( qzv123456, 1, 2) ,\"#0.######################E+00\")  + \";\" + "
    "format$(ObjectNodeY( qzv123456, 1, 2) ,\"#0.######################E+00\" )";
constexpr const char* kInsert =
    "Insert into points ( obj, distanceM, xRowId ) Values ( qzv123456, 25, 3 ) ";

std::string distanceText(double x1, double y1, double x2, double y2) {
    auto num = [](double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", v);
        return std::string(buf);
    };
    return "format$(Distance (" + num(x1) + ", " + num(y1) + ", " + num(x2) + ", " + num(y2) +
           ", \"m\" ),\"#0.######################E+00\")";
}

// A lat/long table with a polyline in the current row, its object in qzv123456, and an
// output table; the session's system is the table's.
std::unique_ptr<veltrano::InProcessAutomation> prepared() {
    auto host = std::make_unique<veltrano::InProcessAutomation>();
    host->Do(
        "Create Table roads (name Char(20))\r\n"
        "Create Map For roads CoordSys Earth Projection 1, 104\r\n"
        "Create Table points (distanceM Float, xRowId Integer)\r\n"
        "Create Map For points CoordSys Earth Projection 1, 104\r\n"
        "Set CoordSys Table roads \r\n"
        "dim qzv123456 as Object \r\n"
        "Create Pline Into Variable qzv123456 3 (37.60, 55.70) (37.62, 55.71) (37.65, 55.715)\r\n"
        "Insert Into roads (obj) Values (qzv123456)\r\n"
        "fetch first From roads\r\n"
        "qzv123456=roads.obj ");
    return host;
}

void nodePair(benchmark::State& state) {
    auto host = prepared();
    for (auto _ : state) benchmark::DoNotOptimize(host->Eval(kNodePair));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(nodePair);

void distanceSameText(benchmark::State& state) {
    auto host = prepared();
    const std::string text = distanceText(37.6, 55.7, 37.61, 55.705);
    for (auto _ : state) benchmark::DoNotOptimize(host->Eval(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(distanceSameText);

// Every request a new text, as in a real placement: no parse is reused.
void distanceNewText(benchmark::State& state) {
    auto host = prepared();
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i) {
        texts.push_back(distanceText(37.6 + i * 1e-6, 55.7, 37.61, 55.705 + i * 1e-7));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(host->Eval(texts[i]));
        i = (i + 1) % texts.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(distanceNewText);

// Many operators of every kind over a cached parse: the cost of evaluating the tree itself.
void operatorsSameText(benchmark::State& state) {
    auto host = prepared();
    const std::string text =
        "str$((1 + 2 * 3 - 8 / 2 >= 3) And (\"ab\" & \"c\" <> \"abd\") Or 7 Mod 3 = 1 "
        "And Not (2.5 * 4 < 10 - 1) And 17 \\ 5 + 1 <= 4 - -1)";
    for (auto _ : state) benchmark::DoNotOptimize(host->Eval(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(operatorsSameText);

void insertPoint(benchmark::State& state) {
    auto host = prepared();
    host->Do("Set coordsys table points \r\nqzv123456=createPoint( 37.61, 55.705 )");
    std::int64_t rows = 0;
    for (auto _ : state) {
        host->Do(kInsert);
        // Keep the table from growing without end: start it over now and then.
        if (++rows == 200000) {
            state.PauseTiming();
            host->Do("Delete From points");
            rows = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(insertPoint);

void geodesicInverseAlone(benchmark::State& state) {
    geod_geodesic g;
    geod_init(&g, 6378137, 1 / 298.257223563);
    double lat = 55.7;
    for (auto _ : state) {
        double s12 = 0;
        geod_inverse(&g, lat, 37.6, 55.705, 37.61, &s12, nullptr, nullptr);
        benchmark::DoNotOptimize(s12);
        lat += 1e-12;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(geodesicInverseAlone);

}  // namespace

BENCHMARK_MAIN();
