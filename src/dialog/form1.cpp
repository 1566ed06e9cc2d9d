#include "dialog/form1.h"

#include "dialog/distance_list.h"
#include "dialog/selection_summary.h"
#include "engine/qsort.h"
#include "foundation/run_time_error.h"
#include "host/answer_reader.h"
#include "host/miProObj.h"
#include "placement/output_table_name.h"

namespace veltrano {

namespace {
constexpr std::string_view kNoPoints = "Точки не заданы.";
constexpr std::string_view kBaseTable = "TAB_TYPE_BASE";
constexpr std::int32_t kInternalErrorNumber = 51;  // a failure that is not a run-time error

// Runs a step whose failures must not stop what follows it.
template <typename Step>
void ignoringFailures(Step step) {
    try {
        step();
    } catch (...) {
    }
}
}  // namespace

Form1::Form1(Form1View& view, Ports ports, PlacementEngine placement,
             std::function<void()> showAbout)
    : view_(view),
      ports_(ports),
      placement_(std::move(placement)),
      showAbout_(std::move(showAbout)) {}

Form1::~Form1() {
    unload();
}

void Form1::load() {
    refreshTables(true);
    showSummary();
}

void Form1::cmdRefreshMIClick() {
    refreshTables(false);
    showSummary();
}

void Form1::cmdAboutClick() {
    if (showAbout_) showAbout_();
}

void Form1::cmdCloseClick() {
    view_.closeWindow();
}

void Form1::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (host_) ignoringFailures([&] { host_->Deattach(); });
    ignoringFailures([&] { host_.reset(); });
    tablesInfo_.clear();
}

PlacementOutcome Form1::cmdOKClick() {
    PlacementOutcome outcome = PlacementOutcome::Failed;
    try {
        outcome = runPlacement();
    } catch (const RunTimeError& error) {
        // A failure no step below handles, such as the host ending in the middle of the
        // walk: reported, and the ending still runs.
        LastError::set(error);
        reportInternalError(ports_.messages);
    } catch (const std::exception& error) {
        LastError::set(RunTimeError(kInternalErrorNumber, error.what()));
        reportInternalError(ports_.messages);
    }
    ending();
    return outcome;
}

PlacementOutcome Form1::runPlacement() {
    const std::string points = trimSpaces(view_.pointsText());
    if (points.empty()) {
        warn(kNoPoints, {});
        return PlacementOutcome::Refused;
    }
    const std::string outputTable = trimSpaces(view_.outputTableText());
    if (!isUsableOutputTable(outputTable, tablesInfo_)) {
        warn(kNoOutputTableText, kNoOutputTableCaption);
        return PlacementOutcome::Refused;
    }
    ports_.busy.setBusy(true);
    std::vector<double> distances = parseDistanceList(points, ports_.regional);
    if (distances.empty()) {
        // Nothing typed reads as a distance: the text stays as the user typed it.
        warn(kNoPoints, {});
        return PlacementOutcome::Refused;
    }
    QSort(distances);
    view_.setPointsText(distanceListText(distances, ports_.regional));
    return walkSelection(distances, outputTable);
}

PlacementOutcome Form1::walkSelection(std::vector<double>& distances, std::string outputTable) {
    MapBasicSelection selection(host_.get(), placement_);
    const PlacementOrder order{
        distances, std::move(outputTable),
        // Read anew for every object: each gets the box as it is when its turn comes.
        [this] { return view_.startFromTheEndValue() == 1; },
        [this](const ObjectReport& object) {
            view_.appendSummaryText("\r\n ** " + std::to_string(object.placed) +
                                    " points allocated.");
        }};
    const PlacementReport report = placeSelection(selection, order, ports_.messages);
    // Once per run, not per point: otherwise a refused table shows only "0 points allocated".
    std::string refusals;
    for (const InsertRefusal& refusal : report.refusals) {
        refusals += (refusals.empty() ? "" : "\r\n") + refusalText(refusal, order.outputTable);
    }
    if (!refusals.empty()) ports_.messages.show(refusals, {}, MessageIcon::Exclamation);
    return report.outcome;
}

void Form1::ending() {
    ports_.busy.setBusy(false);
    ports_.beep.beep();
    ports_.beep.beep();
    refreshTables(false);
}

std::int32_t Form1::refreshTables(bool quiet) {
    std::int32_t listed = -1;
    try {
        listed = listOutputTables(quiet);
    } catch (const RunTimeError& error) {
        LastError::set(error);
        warn(std::to_string(error.number()) + ": " + error.description(), {});
    }
    hostReachable_ = listed >= 0;
    // Enabled again by any attach that reaches the host, not only disabled by one that fails.
    view_.setOkEnabled(hostReachable_);
    return listed;
}

std::int32_t Form1::listOutputTables(bool quiet) {
    if (!host_) {
        host_ = std::make_unique<miProObj>(ports_.hosts, ports_.messages, ports_.regional,
                                           ports_.activation);
    }
    if (host_->connect2MiPro() == 0) {
        if (!quiet) ports_.messages.show(kNoHostText, kNoHostCaption, MessageIcon::CriticalStop);
        return -1;
    }
    host_->getAllTablesInfo(&tablesInfo_);
    const auto last = static_cast<std::int32_t>(tablesInfo_.size()) - 1;
    if (last < 1) {
        view_.clearOutputTables();
        return 0;
    }
    const std::string chosen = upperCase(view_.outputTableText());
    view_.clearOutputTables();
    std::int32_t chosenPosition = -1;
    std::int32_t listed = 0;
    for (std::int32_t k = 1; k <= last; ++k) {
        const auto& table = tablesInfo_[static_cast<std::size_t>(k)];
        if (!table || table->tType() != kBaseTable || table->tIsReadOnly()) continue;
        view_.addOutputTable(table->tName());
        if (upperCase(table->tName()) == chosen) chosenPosition = listed;
        ++listed;
    }
    if (chosenPosition >= 0) view_.selectOutputTable(chosenPosition);
    return listed;
}

std::string Form1::selectionSummary() {
    return veltrano::selectionSummary(host_.get(), ports_.regional);
}

void Form1::showSummary() {
    try {
        view_.setSummaryText(selectionSummary());
    } catch (const RunTimeError& error) {
        LastError::set(error);
        warn(std::to_string(error.number()) + ": " + error.description(), {});
    }
}

void Form1::warn(std::string_view text, std::string_view caption) {
    ports_.messages.show(text, caption, MessageIcon::Exclamation);
}

}  // namespace veltrano
