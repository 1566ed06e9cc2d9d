#include "batch_run.h"

#include "dialog/distance_list.h"
#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/memory_form1_view.h"
#include "distance_check.h"
#include "insert_watch.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "stream_ports.h"

namespace veltrano::batch {

namespace {
constexpr const char* kName = "veltrano-batch: ";

void reportUnreachable(const std::string& address, const std::string& why, std::ostream& err) {
    err << kName << "cannot reach the host";
    if (why.find(address) == std::string::npos) err << " at " << address;
    err << (why.empty() ? "" : ": ") << why << '\n';
}

// The host's own texts, once each; the counts tell which placement status applies.
ExitStatus placementStatus(const InsertRecord& record, const std::string& table,
                           std::ostream& err) {
    for (const auto& refusal : record.refusals) {
        err << kName << "the host refused " << refusal.count << " insert(s) into " << table << ": "
            << refusal.message << '\n';
    }
    if (record.pointInserts == 0) {
        err << kName << "no distance fell on any selected object: no point to place\n";
        return kPlaced;
    }
    if (record.refusedPoints == record.pointInserts) return kRefused;
    return record.refusals.empty() ? kPlaced : kPartlyPlaced;
}

std::string withLineFeeds(std::string text) {
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, "\n");
    }
    return text;
}
}  // namespace

// Pieces read only in part and pieces that place nothing are named; the list handed on stays as
// typed, so that the requests are the dialog's. False when no piece can place a point.
bool checkPoints(const std::string& points, const RegionalSettings& regional, std::ostream& err) {
    const DistanceCheck check = checkDistances(points, regional);
    for (const auto& note : check.readInPart) err << kName << "read only in part: " << note << '\n';
    for (const auto& piece : check.notPlaceable) {
        err << kName << "not placed: '" << piece << "' is not a positive distance\n";
    }
    if (check.placeable == 0) err << kName << "no positive distance to place\n";
    return check.placeable > 0;
}

ExitStatus statusOf(PlacementOutcome outcome, const InsertRecord& record, const std::string& table,
                    std::ostream& err) {
    switch (outcome) {
        case PlacementOutcome::Placed:
            return placementStatus(record, table, err);
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

ExitStatus runBatch(const Options& options, HostSource source, std::ostream& out,
                    std::ostream& err) {
    StreamMessageBox messages(err);
    SilentBeep beep;
    NoBusyPointer busy;
    NoWindowActivation activation;
    const QLocaleRegionalSettings regional;
    const std::string points = withCrLf(options.points);
    if (!checkPoints(points, regional, err)) return kRefused;

    InsertRecord record;
    const std::string table = trimSpaces(options.outputTable);
    WatchingProvider hosts(source.hosts, table, record);
    MemoryForm1View view;
    Form1 form(view, {hosts, messages, beep, busy, regional, activation},
               enginePlacement({messages}), {});

    // As a press of the refresh button: an unreachable host is said, not passed over.
    form.cmdRefreshMIClick();
    if (!form.hostReachable()) {
        reportUnreachable(source.address, record.attachFailure, err);
        return kHostUnreachable;
    }

    view.points = points;
    view.outputTable = options.outputTable;
    view.startFromTheEnd = options.fromTheEnd ? 1 : 0;
    const PlacementOutcome outcome = form.cmdOKClick();
    out << withLineFeeds(view.summary) << '\n';
    out.flush();
    form.unload();
    return statusOf(outcome, record, table, err);
}

}  // namespace veltrano::batch
