#include "attach_command.h"

#include "automation/socket/socket_automation_provider.h"
#include "foundation/run_time_error.h"

namespace mbhost::app {
namespace {

// The host's own code and text for a failure it reported, else the run-time error's.
void reportFailure(veltrano::Automation* host, const veltrano::RunTimeError& error,
                   std::ostream& errors) {
    std::int32_t code = error.number();
    std::string message = error.description();
    if (host && error.number() == veltrano::err::kAutomationFailure) {
        try {
            if (const auto hostCode = host->LastErrorCode(); hostCode != 0) code = hostCode;
        } catch (const veltrano::RunTimeError&) {
        }
    }
    errors << "Error " << code << ": " << message << "\n";
}

}  // namespace

int runAttach(const Options& options, std::ostream& out, std::ostream& errors) {
    veltrano::AutomationPtr host;
    try {
        host = veltrano::ipc::SocketAutomationProvider(options.socketPath).attachRunning();
        for (const AttachStep& step : options.steps) {
            if (step.kind == AttachStep::Kind::Evaluate) {
                out << host->Eval(step.text) << "\n" << std::flush;
            } else {
                host->Do(step.text);
            }
        }
    } catch (const veltrano::RunTimeError& error) {
        reportFailure(host.get(), error, errors);
        return 1;
    }
    return 0;
}

}  // namespace mbhost::app
