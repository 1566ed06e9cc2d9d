// veltrano-batch: the dialog's OK from a shell. See kUsage.
#include <iostream>
#include <string>
#include <vector>

#include "automation/socket/socket_automation_provider.h"
#include "batch_options.h"
#include "batch_run.h"

int main(int argc, char** argv) {
    using namespace veltrano::batch;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "veltrano-batch: " << parsed.error << "\n" << kUsage;
        return kBadArguments;
    }
    if (parsed.options->help) {
        std::cout << kUsage;
        return 0;
    }
    try {
        veltrano::ipc::SocketAutomationProvider hosts;
        return runBatch(*parsed.options, hosts, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "veltrano-batch: " << error.what() << "\n";
        return kHostUnreachable;
    }
}
