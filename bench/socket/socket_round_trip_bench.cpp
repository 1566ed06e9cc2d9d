// Round trips per second over the socket: Eval "2*2" and the node-pair expression answered by
// a real mbhost, against the floor of the same request frames echoed by a trivial blocking
// server on the same kind of socket, each in its own process. The bench runs on one core and
// each server either on the same core or on another: the floor differs several-fold between
// the two, since across cores every round trip wakes a sleeping peer.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <thread>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/message.h"
#include "automation/socket/socket_automation.h"
#include "automation/socket/socket_connection.h"
#include "automation/socket/unix_socket.h"
#include "bench/support/cores.h"

extern char** environ;

namespace {

using namespace veltrano::ipc;

const char* const kNodePair =
    "format$(ObjectNodeX( qzv418231, 1, 2) ,\"#0.######################E+00\")  + \";\" + "
    "format$(ObjectNodeY( qzv418231, 1, 2) ,\"#0.######################E+00\" )";

// The object the node-pair expression reads: a polyline in longitude/latitude.
const char* const kSetUp =
    "Dim qzv418231 As Object\n"
    "Create Pline Into Variable qzv418231 3 (37.61, 55.75) (37.72, 55.81) (37.90, 55.86)\n";

std::string scratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mbhost-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
}

// Echoes every frame it receives, one connection after another. Runs in a child process.
[[noreturn]] void echoServe(SocketListener listener) {
    ::fcntl(listener.fd(), F_SETFL, ::fcntl(listener.fd(), F_GETFL) & ~O_NONBLOCK);
    char buffer[65536];
    for (;;) {
        const int client = ::accept(listener.fd(), nullptr, nullptr);
        if (client < 0) {
            if (errno == EINTR) continue;
            ::_exit(1);
        }
        FrameReader reader;
        for (ssize_t got; (got = ::recv(client, buffer, sizeof(buffer), 0)) > 0;) {
            reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
            while (auto payload = reader.next()) {
                const std::string frame = encodeFrame(*payload);
                if (::send(client, frame.data(), frame.size(), MSG_NOSIGNAL) < 0) break;
            }
        }
        ::close(client);
    }
}

struct Process {
    pid_t pid = -1;
    ~Process() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

void waitUntilListening(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (!connectTo(path).empty()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::fprintf(stderr, "nothing listens at %s\n", path.c_str());
    std::abort();
}

enum Placement { kSameCore, kCrossCore };

// The cores of the bench process and of its servers, by placement.
struct Cores {
    std::vector<int> allowed = veltrano::bench::allowedCores();
    int home() const { return allowed.at(0); }
    bool crossPossible() const { return allowed.size() > 1; }
    int server(Placement placement) const {
        return placement == kCrossCore && crossPossible() ? allowed[1] : home();
    }
};

const Cores& cores() {
    static const Cores instance;
    return instance;
}

// An echo server and an mbhost on one core, started once for every benchmark of the run.
struct Servers {
    std::string directory = scratchDirectory();
    std::string echoPath = directory + "/echo";
    std::string hostPath = directory + "/mbhost";
    SocketListener echoListener;  // the child serves it; the file goes when the run ends
    Process echo;
    Process host;

    explicit Servers(int core) {
        veltrano::bench::startOnCore(core, cores().home(), [&] {
            echoListener = SocketListener::listenAt(echoPath);
            echo.pid = ::fork();
            if (echo.pid == 0) echoServe(std::move(echoListener));
            spawnHost();
            return 0;
        });
        waitUntilListening(hostPath);
    }
    ~Servers() { std::filesystem::remove_all(directory); }

private:
    void spawnHost() {
        const std::string script = directory + "/setup.mb";
        std::ofstream(script) << kSetUp;
        std::vector<std::string> args = {veltrano::bench::benchedMbhost(MBHOST_PROGRAM_PATH),
                                         "--socket", hostPath, "--script", script};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&host.pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            std::abort();
        }
    }
};

Servers& servers(Placement placement) {
    static Servers sameCore(cores().server(kSameCore));
    static Servers crossCore(cores().server(kCrossCore));
    return placement == kSameCore ? sameCore : crossCore;
}

// The floor: the client's own work (encode, send, receive, cut the frame) with a server that
// does nothing but echo.
void echoRoundTrips(benchmark::State& state, Placement placement, const char* expression) {
    FileDescriptor fd = connectTo(servers(placement).echoPath);
    FrameReader reader;
    char buffer[65536];
    for (auto _ : state) {
        const std::string frame = encodeFrame(encodeRequest({Member::Eval, expression}));
        if (::send(fd.get(), frame.data(), frame.size(), MSG_NOSIGNAL) < 0) {
            state.SkipWithError("echo server gone");
            break;
        }
        std::optional<std::string> echoed;
        while (!(echoed = reader.next())) {
            const ssize_t got = ::recv(fd.get(), buffer, sizeof(buffer), 0);
            if (got <= 0) {
                state.SkipWithError("echo server gone");
                return;
            }
            reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
        }
        benchmark::DoNotOptimize(echoed);
    }
    state.counters["round_trips/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void hostRoundTrips(benchmark::State& state, Placement placement, const char* expression) {
    SocketAutomation host(SocketConnection::open(servers(placement).hostPath));
    for (auto _ : state) {
        std::string value = host.Eval(expression);
        benchmark::DoNotOptimize(value);
    }
    state.counters["round_trips/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

#define ROUND_TRIP_BENCHMARKS(placement)                                                          \
    BENCHMARK_CAPTURE(echoRoundTrips, TwoTimesTwo_##placement, placement, "2*2")->UseRealTime();  \
    BENCHMARK_CAPTURE(hostRoundTrips, TwoTimesTwo_##placement, placement, "2*2")->UseRealTime();  \
    BENCHMARK_CAPTURE(echoRoundTrips, NodePair_##placement, placement, kNodePair)->UseRealTime(); \
    BENCHMARK_CAPTURE(hostRoundTrips, NodePair_##placement, placement, kNodePair)->UseRealTime()
ROUND_TRIP_BENCHMARKS(kSameCore);
ROUND_TRIP_BENCHMARKS(kCrossCore);

// Prints, after the usual table, each request's time over its floor's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const std::string name = run.benchmark_name();
            times_[name.substr(0, name.find('/', name.find('/') + 1))] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* request : {"TwoTimesTwo_kSameCore", "NodePair_kSameCore",
                                    "TwoTimesTwo_kCrossCore", "NodePair_kCrossCore"}) {
            const double floor = times_["echoRoundTrips/" + std::string(request)];
            const double host = times_["hostRoundTrips/" + std::string(request)];
            if (floor > 0) {
                std::printf("ratio %-22s mbhost/echo = %.2f\n", request, host / floor);
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    veltrano::bench::pinTo(cores().home());
    if (!cores().crossPossible()) std::fprintf(stderr, "one core only: cross-core is same-core\n");
    servers(kSameCore);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
