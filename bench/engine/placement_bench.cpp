// Full placement along 100 polylines of 200 nodes, 20 distances each: against mbhost in this
// process, against the same mbhost served over the Unix-domain socket by a thread of this
// process, and against the mbhost program over its socket. Reports points per second, host
// requests per point and per object by kind, and the share of the time spent waiting for
// the host.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "automation/inprocess/inprocess_automation.h"
#include "automation/socket/automation_server.h"
#include "automation/socket/poll_loop.h"
#include "automation/socket/socket_automation_provider.h"
#include "automation/socket/unix_socket.h"
#include "bench/engine/workload.h"
#include "bench/support/cores.h"
#include "workload/placement_workspace.h"

namespace veltrano::testing {
namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltrano-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string socketPath() const { return path_ + "/socket"; }

private:
    std::string path_;
};

// The in-process host served on a socket in a temporary directory by a thread of its own.
class ServedOverSocket {
public:
    explicit ServedOverSocket(Automation& host) {
        server_ = std::make_unique<ipc::AutomationServer>(
            host, loop_, ipc::SocketListener::listenAt(dir_.socketPath()));
        thread_ = std::thread([this] { loop_.run(); });
    }
    ~ServedOverSocket() {
        loop_.stop();
        thread_.join();
        server_.reset();
    }
    std::string path() const { return dir_.socketPath(); }

private:
    TempDir dir_;
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

// The program's reaches pin this process to its first core and the mbhost it starts to the
// same core or to the next: across cores every round trip that sleeps pays for a wake-up.
enum class Reach { InProcess, ServedByThread, MbhostProgram, ProgramSameCore, ProgramCrossCore };

// The cores this process might use when it started, before any pinning.
const std::vector<int>& startingCores() {
    static const std::vector<int> cores = bench::allowedCores();
    return cores;
}

// The core the mbhost program is to start on, if it is pinned at all; pins this process.
std::optional<int> programCore(Reach reach) {
    if (reach != Reach::ProgramSameCore && reach != Reach::ProgramCrossCore) return std::nullopt;
    const std::vector<int>& cores = startingCores();
    if (cores.size() < (reach == Reach::ProgramCrossCore ? 2u : 1u)) {
        throw std::runtime_error("not enough cores to place the two processes");
    }
    bench::pinTo(cores[0]);
    return reach == Reach::ProgramCrossCore ? cores[1] : cores[0];
}

// The mbhost program on a socket of its own, ended when done with.
class MbhostProgram {
public:
    explicit MbhostProgram(std::optional<int> core) {
#ifdef VELTRANO_MBHOST_PROGRAM
        ipc::SocketAutomationProvider provider(dir_.socketPath(),
                                               bench::benchedMbhost(VELTRANO_MBHOST_PROGRAM));
        if (core) {
            host_ =
                bench::startOnCore(*core, startingCores()[0], [&] { return provider.startNew(); });
        } else {
            host_ = provider.startNew();
        }
#else
        throw std::runtime_error("the mbhost program was not built");
#endif
    }
    ~MbhostProgram() {
        try {
            host_->Do("End MapInfo");
        } catch (const RunTimeError&) {
            // The host ends while it answers: the link reports it gone.
        }
    }
    const AutomationPtr& host() const {
        return host_;
    }

private:
    TempDir dir_;
    AutomationPtr host_;
};

void placeAlongAll(benchmark::State& state, bool latLong, Reach reach) {
    const Workload& w = workload(latLong);
    auto host = std::make_shared<mbhost::Host>();
    auto inProcess = std::make_shared<InProcessAutomation>(host);
    std::unique_ptr<ServedOverSocket> served;
    std::unique_ptr<MbhostProgram> program;
    AutomationPtr engineSide = inProcess;
    if (reach != Reach::InProcess && reach != Reach::ServedByThread) {
        try {
            program = std::make_unique<MbhostProgram>(programCore(reach));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        engineSide = program->host();
        createTablesWithMapBasic(*engineSide, "Lines", "Points", w.clause, w.lines);
    } else {
        host->addTable(lineTable("Lines", w.clause, w.lines));
        host->addTable(pointTable("Points", w.clause, true));
    }
    if (reach == Reach::ServedByThread) {
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
    if (!session.messages().empty()) state.SkipWithError(session.messages()[0].c_str());
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
    placeAlongAll(s, true, Reach::InProcess);
}
void BM_PlaceUtmInProcess(benchmark::State& s) {
    placeAlongAll(s, false, Reach::InProcess);
}
void BM_PlaceLatLongSocketThread(benchmark::State& s) {
    placeAlongAll(s, true, Reach::ServedByThread);
}
void BM_PlaceUtmSocketThread(benchmark::State& s) {
    placeAlongAll(s, false, Reach::ServedByThread);
}
void BM_PlaceLatLongMbhostProgram(benchmark::State& s) {
    placeAlongAll(s, true, Reach::MbhostProgram);
}
void BM_PlaceUtmMbhostProgram(benchmark::State& s) {
    placeAlongAll(s, false, Reach::MbhostProgram);
}
void BM_PlaceLatLongProgramCrossCore(benchmark::State& s) {
    placeAlongAll(s, true, Reach::ProgramCrossCore);
}
void BM_PlaceLatLongProgramSameCore(benchmark::State& s) {
    placeAlongAll(s, true, Reach::ProgramSameCore);
}

#define PLACEMENT_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()
PLACEMENT_BENCHMARK(BM_PlaceLatLongInProcess);
PLACEMENT_BENCHMARK(BM_PlaceUtmInProcess);
PLACEMENT_BENCHMARK(BM_PlaceLatLongSocketThread);
PLACEMENT_BENCHMARK(BM_PlaceUtmSocketThread);
PLACEMENT_BENCHMARK(BM_PlaceLatLongMbhostProgram);
PLACEMENT_BENCHMARK(BM_PlaceUtmMbhostProgram);
// Last, as they leave this process pinned to its first core.
PLACEMENT_BENCHMARK(BM_PlaceLatLongProgramCrossCore);
PLACEMENT_BENCHMARK(BM_PlaceLatLongProgramSameCore);

}  // namespace
}  // namespace veltrano::testing

BENCHMARK_MAIN();
