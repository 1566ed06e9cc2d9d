// Round trips per second over the socket: Eval "2*2" and the node-pair expression answered by
// a real mbhost, against the floor of the same request frames echoed by a trivial server on
// the same kind of socket, each in its own process. Only the ratios mean anything: the floor
// itself varies several-fold with where the scheduler puts the two processes.
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

// Both servers, started once for every benchmark of the run.
struct Servers {
    std::string directory = scratchDirectory();
    std::string echoPath = directory + "/echo";
    std::string hostPath = directory + "/mbhost";
    SocketListener echoListener;  // the child serves it; the file goes when the run ends
    Process echo;
    Process host;

    Servers() {
        echoListener = SocketListener::listenAt(echoPath);
        echo.pid = ::fork();
        if (echo.pid == 0) echoServe(std::move(echoListener));
        const std::string script = directory + "/setup.mb";
        std::ofstream(script) << kSetUp;
        std::vector<std::string> args = {MBHOST_PROGRAM_PATH, "--socket", hostPath, "--script",
                                         script};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&host.pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            std::abort();
        }
        waitUntilListening(hostPath);
    }
    ~Servers() { std::filesystem::remove_all(directory); }
};

Servers& servers() {
    static Servers instance;
    return instance;
}

// The floor: the client's own work (encode, send, receive, cut the frame) with a server that
// does nothing but echo.
void echoRoundTrips(benchmark::State& state, const char* expression) {
    FileDescriptor fd = connectTo(servers().echoPath);
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

void hostRoundTrips(benchmark::State& state, const char* expression) {
    SocketAutomation host(SocketConnection::open(servers().hostPath));
    for (auto _ : state) {
        std::string value = host.Eval(expression);
        benchmark::DoNotOptimize(value);
    }
    state.counters["round_trips/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Echo_TwoTimesTwo(benchmark::State& state) {
    echoRoundTrips(state, "2*2");
}
void BM_Mbhost_TwoTimesTwo(benchmark::State& state) {
    hostRoundTrips(state, "2*2");
}
void BM_Echo_NodePair(benchmark::State& state) {
    echoRoundTrips(state, kNodePair);
}
void BM_Mbhost_NodePair(benchmark::State& state) {
    hostRoundTrips(state, kNodePair);
}

BENCHMARK(BM_Echo_TwoTimesTwo)->UseRealTime();
BENCHMARK(BM_Mbhost_TwoTimesTwo)->UseRealTime();
BENCHMARK(BM_Echo_NodePair)->UseRealTime();
BENCHMARK(BM_Mbhost_NodePair)->UseRealTime();

// Prints, after the usual table, each request's time over its floor's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const std::string name = run.benchmark_name();
            times_[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* request : {"TwoTimesTwo", "NodePair"}) {
            const double floor = times_["BM_Echo_" + std::string(request)];
            const double host = times_["BM_Mbhost_" + std::string(request)];
            if (floor > 0) {
                std::printf("ratio %-12s mbhost/echo = %.2f\n", request, host / floor);
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    servers();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
