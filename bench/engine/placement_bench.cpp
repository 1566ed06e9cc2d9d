// Full placement along 100 polylines of 200 nodes, 20 distances each, against mbhost in this
// process and against the same mbhost served over the Unix-domain socket (a server thread,
// the protocol and the socket adapter the program uses). Reports points per second, host
// requests per point and per object by kind, and the share of the time spent waiting for
// the host.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "automation/inprocess/inprocess_automation.h"
#include "automation/socket/automation_server.h"
#include "automation/socket/poll_loop.h"
#include "automation/socket/socket_automation_provider.h"
#include "automation/socket/unix_socket.h"
#include "engine/placement_workspace.h"

namespace veltrano::testing {
namespace {

constexpr int kLines = 100;
constexpr int kNodes = 200;
constexpr int kDistances = 20;
constexpr double kLineLengthM = 150000;

struct Workload {
    const char* clause;
    std::vector<Sections> lines;
    std::vector<double> distances;
};

Workload makeWorkload(bool latLong) {
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

const Workload& workload(bool latLong) {
    static const Workload latLongWork = makeWorkload(true);
    static const Workload utmWork = makeWorkload(false);
    return latLong ? latLongWork : utmWork;
}

// The in-process host served on a socket in a temporary directory by a thread of its own.
class ServedOverSocket {
public:
    explicit ServedOverSocket(Automation& host) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltrano-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory");
        dir_ = pattern;
        server_ = std::make_unique<ipc::AutomationServer>(host, loop_,
                                                          ipc::SocketListener::listenAt(path()));
        thread_ = std::thread([this] { loop_.run(); });
    }
    ~ServedOverSocket() {
        loop_.stop();
        thread_.join();
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string path() const { return dir_ + "/socket"; }

private:
    std::string dir_;
    ipc::PollLoop loop_;
    std::unique_ptr<ipc::AutomationServer> server_;
    std::thread thread_;
};

std::string requestKind(std::string_view member, std::string_view text) {
    auto starts = [&](std::string_view prefix) { return text.rfind(prefix, 0) == 0; };
    if (member == "Eval") {
        if (text == "2*2") return "link probe";
        if (starts("format$(Distance (")) return "walk Distance";
        if (starts("format$(ObjectNode") || starts("ObjectInfo( ") || starts("Format$(Distance(") ||
            starts("Format$(ObjectLen") || starts("Format$(Perimeter") ||
            starts("format$(ObjectGeography"))
            return "extraction";
        return "other Eval";
    }
    if (starts("Set CoordSys Table ")) return "coordsys statement";
    if (starts("Set coordsys table ")) return "point statement";
    if (starts("Insert into ")) return "insert statement";
    return "other Do";
}

void placeAlongAll(benchmark::State& state, bool latLong, bool overSocket) {
    const Workload& w = workload(latLong);
    auto host = std::make_shared<mbhost::Host>();
    host->addTable(lineTable("Lines", w.clause, w.lines));
    host->addTable(pointTable("Points", w.clause, true));
    auto inProcess = std::make_shared<InProcessAutomation>(host);
    std::unique_ptr<ServedOverSocket> served;
    AutomationPtr engineSide = inProcess;
    if (overSocket) {
        served = std::make_unique<ServedOverSocket>(*inProcess);
        engineSide = ipc::SocketAutomationProvider(served->path(), "unused").attachRunning();
    }
    PlacementSession session(engineSide);
    session.counter().classifyWith(requestKind);
    session.counter().reset();

    std::int64_t points = 0;
    std::chrono::nanoseconds total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        points += session.placeAlongRows("Lines", kLines, "Points", w.distances, false);
        total += std::chrono::steady_clock::now() - start;
    }
    if (!session.boxes().shown.empty()) state.SkipWithError(session.boxes().shown[0].text.c_str());
    const double objects = static_cast<double>(kLines) * static_cast<double>(state.iterations());
    const auto& counter = session.counter();
    const double hostShare =
        static_cast<double>(counter.hostTime().count()) / static_cast<double>(total.count());
    state.counters["points/s"] =
        benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsRate);
    state.counters["req/point"] = static_cast<double>(counter.requests()) / points;
    state.counters["req/object"] = static_cast<double>(counter.requests()) / objects;
    state.counters["host%"] = 100 * hostShare;
    state.counters["engine%"] = 100 * (1 - hostShare);
    for (const auto& [kind, count] : counter.byKind()) {
        state.counters[kind + "/object"] = static_cast<double>(count) / objects;
    }
    for (const char* member : {"LastErrorCode", "SetLastErrorCode"}) {
        state.counters[std::string(member) + "/object"] =
            static_cast<double>(counter.requests(member)) / objects;
    }
}

void BM_PlaceLatLongInProcess(benchmark::State& s) {
    placeAlongAll(s, true, false);
}
void BM_PlaceUtmInProcess(benchmark::State& s) {
    placeAlongAll(s, false, false);
}
void BM_PlaceLatLongOverSocket(benchmark::State& s) {
    placeAlongAll(s, true, true);
}
void BM_PlaceUtmOverSocket(benchmark::State& s) {
    placeAlongAll(s, false, true);
}

BENCHMARK(BM_PlaceLatLongInProcess)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlaceUtmInProcess)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlaceLatLongOverSocket)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlaceUtmOverSocket)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace veltrano::testing

BENCHMARK_MAIN();
