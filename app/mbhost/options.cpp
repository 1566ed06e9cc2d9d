#include "options.h"

namespace mbhost::app {

const char* const kUsage =
    "usage: mbhost [--socket PATH] [--trace FILE] [--script FILE] [--console]\n"
    "       mbhost --attach [--socket PATH] (-e EXPRESSION | -x STATEMENT)...\n"
    "\n"
    "  --socket PATH   where to listen (or attach); default $MBHOST_SOCKET, else\n"
    "                  $XDG_RUNTIME_DIR/mbhost/socket, else /tmp/mbhost-<uid>/socket\n"
    "  --trace FILE    one JSON line per request served\n"
    "  --script FILE   MapBasic statements to run at start, one per line (repeatable)\n"
    "  --console       read statements from standard input even when it is not a terminal\n"
    "  --attach        send to the running mbhost: -e prints an expression's value,\n"
    "                  -x runs a statement\n";

namespace {

const std::string& valueOf(const std::vector<std::string>& arguments, std::size_t& i) {
    if (i + 1 >= arguments.size()) throw UsageError(arguments[i] + " needs a value");
    return arguments[++i];
}

void check(const Options& options) {
    if (options.help) return;
    if (options.attach) {
        if (options.steps.empty()) throw UsageError("--attach needs at least one -e or -x");
        if (!options.traceFile.empty() || !options.scriptFiles.empty() || options.console) {
            throw UsageError("--attach takes only --socket, -e and -x");
        }
    } else if (!options.steps.empty()) {
        throw UsageError("-e and -x need --attach");
    }
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--socket") {
            options.socketPath = valueOf(arguments, i);
        } else if (arg == "--trace") {
            options.traceFile = valueOf(arguments, i);
        } else if (arg == "--script") {
            options.scriptFiles.push_back(valueOf(arguments, i));
        } else if (arg == "--console") {
            options.console = true;
        } else if (arg == "--attach") {
            options.attach = true;
        } else if (arg == "-e") {
            options.steps.push_back({AttachStep::Kind::Evaluate, valueOf(arguments, i)});
        } else if (arg == "-x") {
            options.steps.push_back({AttachStep::Kind::Execute, valueOf(arguments, i)});
        } else {
            throw UsageError("unknown argument " + arg);
        }
    }
    check(options);
    return options;
}

}  // namespace mbhost::app
