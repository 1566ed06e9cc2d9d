// veltrano-batch: the dialog's OK from a shell, on a running host or on a file. See usageText().
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "automation/socket/socket_automation_provider.h"
#include "batch_options.h"
#include "batch_run.h"
#include "file_run.h"
#include "foundation/version.h"

int main(int argc, char** argv) {
    using namespace veltrano::batch;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    ParsedOptions parsed = parseOptions(arguments);
    std::string error = parsed.error;
    if (parsed.options && !parsed.options->help && !parsed.options->version)
        loadPointsFile(*parsed.options, std::cin, error);
    if (!error.empty()) {
        // One line, so that the mistake does not scroll away behind the help.
        std::cerr << "veltrano-batch: " << error << " (see veltrano-batch --help)\n";
        return kBadArguments;
    }
    if (parsed.options->help) {
        std::cout << usageText();
        return kPlaced;
    }
    if (parsed.options->version) {
        std::cout << "veltrano-batch " << veltrano::kVersionText << "\n";
        return kPlaced;
    }
    if (parsed.options->file) {
        try {
            return runFile(*parsed.options, std::cerr, ::isatty(STDERR_FILENO) == 1);
        } catch (const std::exception& failure) {
            std::cerr << "veltrano-batch: internal error: " << failure.what() << "\n";
            return kStopped;
        }
    }
    std::unique_ptr<veltrano::ipc::SocketAutomationProvider> hosts;
    try {
        hosts = std::make_unique<veltrano::ipc::SocketAutomationProvider>();
    } catch (const std::exception& failure) {
        std::cerr << "veltrano-batch: no socket to look for the host at: " << failure.what()
                  << "\n";
        return kHostUnreachable;
    }
    try {
        return runBatch(*parsed.options, {*hosts, hosts->socketPath()}, std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "veltrano-batch: internal error: " << failure.what() << "\n";
        return kStopped;
    }
}
