#include "host_process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>

#include "automation/inprocess/inprocess_automation.h"
#include "automation/socket/automation_server.h"
#include "automation/socket/poll_loop.h"
#include "automation/socket/request_trace.h"
#include "automation/socket/socket_path.h"
#include "automation/socket/unix_socket.h"
#include "console.h"
#include "mbhost/host.h"
#include "mbhost/picture/map_picture_renderer.h"
#include "mbhost/storage/gdal_table_store.h"
#include "statement_runner.h"

namespace mbhost::app {
namespace {

using veltrano::ipc::PollLoop;

// The loop a termination signal stops; stop() only stores a flag and writes to a pipe.
PollLoop* signalledLoop = nullptr;

extern "C" void stopOnSignal(int) {
    if (signalledLoop) signalledLoop->stop();
}

class SignalStop {
public:
    explicit SignalStop(PollLoop& loop) {
        signalledLoop = &loop;
        struct sigaction action {};
        action.sa_handler = stopOnSignal;
        sigemptyset(&action.sa_mask);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
        ::signal(SIGPIPE, SIG_IGN);  // a reader that has gone is an error, not an ending
    }
    ~SignalStop() {
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::signal(signal, SIG_DFL);
        signalledLoop = nullptr;
    }
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;
};

std::string ownPath() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "mbhost";
}

// The listening socket; the per-user directory of the default path is made private first.
veltrano::ipc::SocketListener listen(const Options& options) {
    const auto location = veltrano::ipc::locateSocket(options.socketPath);
    if (location.inPrivateDirectory) {
        veltrano::ipc::preparePrivateDirectory(veltrano::ipc::parentDirectory(location.path));
    }
    return veltrano::ipc::SocketListener::listenAt(location.path);
}

std::shared_ptr<Host> makeHost() {
    HostIdentity identity;
    identity.fullName = ownPath();
    auto host = std::make_shared<Host>(identity);
    host->setPrintSink([](std::string_view text) { std::cout << text << '\n' << std::flush; });
    host->setTableStore(std::make_shared<gdal::GdalTableStore>());
    host->setMapRenderer(std::make_shared<picture::MapPictureRenderer>());
    return host;
}

bool runStartupScripts(const Options& options, veltrano::Automation& automation, Host& host) {
    for (const std::string& path : options.scriptFiles) {
        std::ifstream script(path);
        if (!script) {
            std::cerr << "mbhost: cannot read the script " << path << ": " << std::strerror(errno)
                      << "\n";
            return false;
        }
        if (!runScript(automation, script, path, std::cerr, [&host] { return host.ended(); })) {
            return false;
        }
        if (host.ended()) break;
    }
    return true;
}

}  // namespace

int runHost(const Options& options) {
    veltrano::ipc::SocketListener listener;
    try {
        listener = listen(options);
    } catch (const std::exception& failure) {
        std::cerr << "mbhost: " << failure.what() << "\n";
        return 1;
    }
    std::ofstream traceFile;
    std::unique_ptr<veltrano::ipc::JsonLinesTrace> trace;
    if (!options.traceFile.empty()) {
        traceFile.open(options.traceFile, std::ios::app);
        if (!traceFile) {
            std::cerr << "mbhost: cannot open the trace file " << options.traceFile << ": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
        trace = std::make_unique<veltrano::ipc::JsonLinesTrace>(traceFile);
    }
    const std::shared_ptr<Host> host = makeHost();
    veltrano::InProcessAutomation automation(host);
    PollLoop loop;
    veltrano::ipc::ServerLimits limits;
    limits.frameTimeout = options.frameTimeout;
    veltrano::ipc::AutomationServer server(automation, loop, std::move(listener), trace.get(),
                                           limits);
    const SignalStop signals(loop);

    if (!runStartupScripts(options, automation, *host)) return 1;
    std::unique_ptr<Console> console;
    if (!host->ended() && (options.console || ::isatty(STDIN_FILENO))) {
        console = Console::start(loop, automation, std::cout, [&loop] { loop.stop(); });
    }
    while (!loop.stopped() && !host->ended()) loop.runOnce(-1);
    console.reset();
    server.shutdown();
    return 0;
}

}  // namespace mbhost::app
