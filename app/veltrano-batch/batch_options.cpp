#include "batch_options.h"

namespace veltrano::batch {

const char* const kUsage =
    "Usage: veltrano-batch --points \"100;250.5\" --output TABLE [--from-end]\n"
    "Places points at the given distances (metres, separated by ';') along every object\n"
    "selected in the running mbhost, into the output table, as the dialog's OK does.\n"
    "The host is found at mbhost's default socket, or at MBHOST_SOCKET when set.\n"
    "Prints the selection summary and one result line per object on standard output and\n"
    "every message on standard error.\n"
    "Exit status: 0 the placement ran over the selection; 1 bad arguments; 2 the host\n"
    "cannot be reached; 3 the distances or the output table were refused; 4 nothing is\n"
    "selected; 5 a failure stopped the placement.\n";

namespace {
// The value of an option given as "--name value" or "--name=value".
bool takeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               std::optional<std::string>& value, std::string& error) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}
}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    std::optional<std::string> points, output;
    std::string error;
    for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--from-end") {
            options.fromTheEnd = true;
        } else if (!takeValue(arguments, i, "--points", points, error) &&
                   !takeValue(arguments, i, "--output", output, error)) {
            error = "unknown argument: " + arg;
        }
    }
    if (error.empty() && !options.help) {
        if (!points) error = "--points is missing";
        if (!output) error = error.empty() ? "--output is missing" : error;
    }
    if (!error.empty()) return {std::nullopt, error};
    options.points = points.value_or("");
    options.outputTable = output.value_or("");
    return {options, {}};
}

}  // namespace veltrano::batch
