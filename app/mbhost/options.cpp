#include "options.h"

#include <charconv>

namespace mbhost::app {

const char* const kUsage =
    "usage: mbhost [--socket PATH] [--trace FILE] [--script FILE] [--console]\n"
    "       mbhost --help | --version\n"
    "       mbhost --attach [--socket PATH] (-e EXPRESSION | -x STATEMENT)...\n"
    "\n"
    "  --socket PATH   where to listen (or attach); default $MBHOST_SOCKET, else\n"
    "                  $XDG_RUNTIME_DIR/mbhost/socket, else /tmp/mbhost-<uid>/socket\n"
    "  --trace FILE    one JSON line per request served\n"
    "  --frame-timeout SECONDS\n"
    "                  let a client go whose frame stays incomplete, or whose answer\n"
    "                  stays unread, this long (default 10)\n"
    "  --script FILE   MapBasic statements to run at start, one per line (repeatable)\n"
    "  --console       read statements from standard input even when it is not a terminal\n"
    "  --attach        send to the running mbhost: -e prints an expression's value,\n"
    "                  -x runs a statement\n";

namespace {

const std::string& valueOf(const std::vector<std::string>& arguments, std::size_t& i) {
    if (i + 1 >= arguments.size()) throw UsageError(arguments[i] + " needs a value");
    return arguments[++i];
}

// Seconds, with a fraction if wanted; more than a day is surely a mistake.
std::chrono::milliseconds seconds(const std::string& name, const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0.001) ||
        value > 86400) {
        throw UsageError(name + " needs a number of seconds from 0.001 to 86400, not \"" + text +
                         "\"");
    }
    return std::chrono::milliseconds(static_cast<long long>(value * 1000));
}

void check(const Options& options) {
    if (options.help || options.version) return;
    if (options.attach) {
        if (options.steps.empty()) throw UsageError("--attach needs at least one -e or -x");
        if (!options.traceFile.empty() || !options.scriptFiles.empty() || options.console ||
            options.frameTimeout != Options{}.frameTimeout) {
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
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--socket") {
            options.socketPath = valueOf(arguments, i);
        } else if (arg == "--trace") {
            options.traceFile = valueOf(arguments, i);
        } else if (arg == "--frame-timeout") {
            options.frameTimeout = seconds(arg, valueOf(arguments, i));
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
