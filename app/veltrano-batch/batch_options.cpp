#include "batch_options.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "exit_status.h"

namespace veltrano::batch {

namespace {
constexpr const char* kUsageHead =
    "Usage: veltrano-batch (--points \"100;250.5\" | --points-file FILE) --output TABLE\n"
    "                      [--from-end]\n"
    "       veltrano-batch --help | --version\n"
    "Places points at the given distances (metres, separated by ';' or line breaks) along\n"
    "every object selected in the running mbhost, into the output table, as the dialog's OK\n"
    "does. --points-file reads the distances from FILE, or from standard input for '-'.\n"
    "The host is found at mbhost's default socket, or at MBHOST_SOCKET when set.\n"
    "Prints the selection summary and one result line per object on standard output and\n"
    "every message on standard error.\n"
    "Exit status:\n";
}  // namespace

std::string usageText() {
    return kUsageHead + exitStatusLines();
}

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
    std::optional<std::string> points, pointsFile, output;
    std::string error;
    for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--from-end") {
            options.fromTheEnd = true;
        } else if (!takeValue(arguments, i, "--points", points, error) &&
                   !takeValue(arguments, i, "--points-file", pointsFile, error) &&
                   !takeValue(arguments, i, "--output", output, error)) {
            error = "unknown argument: " + arg;
        }
    }
    if (error.empty() && !options.help && !options.version) {
        if (points.has_value() == pointsFile.has_value()) {
            error = points ? "--points and --points-file exclude each other"
                           : "--points or --points-file is missing";
        }
        if (!output) error = error.empty() ? "--output is missing" : error;
    }
    if (!error.empty()) return {std::nullopt, error};
    options.points = points.value_or("");
    options.pointsFile = pointsFile;
    options.outputTable = output.value_or("");
    return {options, {}};
}

bool loadPointsFile(Options& options, std::istream& standardInput, std::string& error) {
    if (!options.pointsFile) return true;
    const std::string& path = *options.pointsFile;
    const bool standard = path == "-";
    std::ifstream file;
    if (!standard) file.open(path, std::ios::binary);
    if (!standard && !file) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::istream& in = standard ? standardInput : file;
    options.points.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) error = "cannot read " + path;
    return !in.bad();
}

}  // namespace veltrano::batch
