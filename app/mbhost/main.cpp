// mbhost: a stand-in for the GIS host, reached over a local socket; or, with --attach, a
// client that drives the running one from a shell.
#include <iostream>
#include <string>
#include <vector>

#include "attach_command.h"
#include "foundation/version.h"
#include "host_process.h"
#include "options.h"

int main(int argc, char** argv) {
    using namespace mbhost::app;
    Options options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& wrong) {
        std::cerr << "mbhost: " << wrong.what() << "\n" << kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "mbhost " << veltrano::kVersionText << "\n";
        return 0;
    }
    if (options.attach) return runAttach(options, std::cout, std::cerr);
    return runHost(options);
}
