#include "batch_run.h"

#include <algorithm>

#include "dialog/distance_list.h"
#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/selection_summary.h"
#include "distance_check.h"
#include "engine/qsort.h"
#include "foundation/run_time_error.h"
#include "host/miProObj.h"
#include "placement/mapbasic_selection.h"
#include "placement/output_table_name.h"
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
ExitStatus placementStatus(const PlacementReport& report, const std::string& table,
                           std::ostream& err) {
    for (const auto& refusal : report.refusals) {
        err << kName << refusalText(refusal, table) << '\n';
    }
    const bool noneReached = std::all_of(report.objects.begin(), report.objects.end(),
                                         [](const auto& object) { return object.placed < 0; });
    if (!report.objects.empty() && noneReached) return kRefused;
    if (report.computed() == 0) {
        err << kName << "no distance fell on any selected object: no point to place\n";
        return kPlaced;
    }
    if (report.placed() == 0) return kRefused;
    const bool all = report.refusals.empty() && report.placed() == report.computed();
    return all ? kPlaced : kPartlyPlaced;
}

// Remembers why the last attach failed, so that the run can say it.
class AttachReason final : public AutomationProvider {
public:
    explicit AttachReason(AutomationProvider& hosts) : hosts_(hosts) {}
    AutomationPtr attachRunning() override {
        try {
            return hosts_.attachRunning();
        } catch (const RunTimeError& failure) {
            why = failure.description();
            throw;
        }
    }
    AutomationPtr startNew() override { return hosts_.startNew(); }

    std::string why;

private:
    AutomationProvider& hosts_;
};

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

ExitStatus statusOf(const PlacementReport& report, const std::string& table, std::ostream& err) {
    switch (report.outcome) {
        case PlacementOutcome::Placed:
            return placementStatus(report, table, err);
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
    NoWindowActivation activation;  // the host link wants one; nothing here has a window
    const QLocaleRegionalSettings regional;
    const std::string points = withCrLf(options.points);
    if (!checkPoints(points, regional, err)) return kRefused;

    AttachReason hosts(source.hosts);
    miProObj host(hosts, messages, regional, activation);
    if (host.connect2MiPro() == 0) {
        messages.show(Form1::kNoHostText, Form1::kNoHostCaption, MessageIcon::CriticalStop);
        reportUnreachable(source.address, hosts.why, err);
        return kHostUnreachable;
    }
    TableList tables;
    host.getAllTablesInfo(&tables);
    std::string summary;
    try {
        summary = selectionSummary(&host, regional);
    } catch (const RunTimeError& error) {
        LastError::set(error);
        messages.show(std::to_string(error.number()) + ": " + error.description(), {},
                      MessageIcon::Exclamation);
    }
    const std::string table = trimSpaces(options.outputTable);
    std::vector<double> distances = parseDistanceList(trimSpaces(points), regional);
    QSort(distances);
    PlacementReport report;
    report.outcome = PlacementOutcome::Refused;
    if (!isUsableOutputTable(table, tables)) {
        messages.show(kNoOutputTableText, kNoOutputTableCaption, MessageIcon::Exclamation);
    } else {
        MapBasicSelection selection(&host, enginePlacement({messages}));
        const PlacementOrder order{distances, table, [&] { return options.fromTheEnd; },
                                   [&](const ObjectReport& object) {
                                       summary += "\n ** " + std::to_string(object.placed) +
                                                  " points allocated.";
                                   }};
        report = placeSelection(selection, order, messages);
    }
    // As the dialog's ending: attaching again says why a host that went is gone.
    if (report.outcome == PlacementOutcome::Failed && host.connect2MiPro() == 0) {
        messages.show(Form1::kNoHostText, Form1::kNoHostCaption, MessageIcon::CriticalStop);
    }
    out << withLineFeeds(summary) << '\n';
    out.flush();
    host.Deattach();
    return statusOf(report, table, err);
}

}  // namespace veltrano::batch
