#include "batch_run.h"

#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/memory_form1_view.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "stream_ports.h"

namespace veltrano::batch {

namespace {
ExitStatus statusOf(PlacementOutcome outcome) {
    switch (outcome) {
        case PlacementOutcome::Placed:
            return kPlaced;
        case PlacementOutcome::Refused:
            return kRefused;
        case PlacementOutcome::NoSelection:
            return kNothingSelected;
        case PlacementOutcome::Failed:
            break;
    }
    return kStopped;
}

// A shell's line breaks are line feeds; the dialog's text boxes hold CR LF.
std::string withCrLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string withLineFeeds(std::string text) {
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, "\n");
    }
    return text;
}
}  // namespace

ExitStatus runBatch(const Options& options, AutomationProvider& hosts, std::ostream& out,
                    std::ostream& err) {
    StreamMessageBox messages(err);
    SilentBeep beep;
    NoBusyPointer busy;
    NoWindowActivation activation;
    const QLocaleRegionalSettings regional;
    MemoryForm1View view;
    Form1 form(view, {hosts, messages, beep, busy, regional, activation},
               enginePlacement({messages}), {});

    // As a press of the refresh button: an unreachable host is said, not passed over.
    form.cmdRefreshMIClick();
    if (!form.hostReachable()) return kHostUnreachable;

    view.points = withCrLf(options.points);
    view.outputTable = options.outputTable;
    view.startFromTheEnd = options.fromTheEnd ? 1 : 0;
    const PlacementOutcome outcome = form.cmdOKClick();
    out << withLineFeeds(view.summary) << '\n';
    out.flush();
    form.unload();
    return statusOf(outcome);
}

}  // namespace veltrano::batch
