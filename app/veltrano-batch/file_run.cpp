#include "file_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iomanip>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "batch_run.h"
#include "dialog/distance_list.h"
#include "direct/direct_placement.h"
#include "engine/qsort.h"
#include "event_run.h"
#include "every_list.h"
#include "foundation/mapbasic_name.h"
#include "mbhost/parser.h"
#include "mbhost/picture/map_picture_renderer.h"
#include "mbhost/storage/gdal_table_store.h"
#include "mbhost/storage/staged_write.h"
#include "mbhost/storage/storage_error.h"
#include "mbhost/storage/streamed_write.h"
#include "mbhost/storage/write_interruption.h"
#include "measure_options.h"
#include "output_file.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "progress_line.h"
#include "run_interruption.h"
#include "skipped_rows.h"
#include "stream_ports.h"
#include "streamed_points.h"

namespace veltrano::batch {

namespace {
constexpr const char* kName = "veltrano-batch: ";
constexpr const char* kSource = "SourceTable";
constexpr const char* kPoints = "PlacedPoints";
constexpr const char* kEvents = "EventTable";

// A run stopped with its status; the reason has been said.
struct Stop {
    ExitStatus status;
};

[[noreturn]] void stop(std::ostream& err, ExitStatus status, const std::string& reason) {
    err << kName << reason << '\n';
    throw Stop{status};
}

// Everything one run holds: the host in this process and the tables it opened.
struct Run {
    Run(const Options& given, std::ostream& messages)
        : options(given), file(*given.file), err(messages) {}

    const Options& options;
    const FileOptions& file;
    std::ostream& err;
    const InterruptionWatch* interruptions = nullptr;
    std::shared_ptr<mbhost::Host> host = std::make_shared<mbhost::Host>();
    std::shared_ptr<mbhost::gdal::GdalTableStore> store =
        std::make_shared<mbhost::gdal::GdalTableStore>();
    std::string selection;
    std::size_t selected = 0;
    std::vector<KeptColumn> kept;
    MeasureOptions measure;
    EventsToPlace events;  // with --events
    std::string skipped;   // "3 rows skipped: no line"; empty when none was
    RunTimes times;

    const mbhost::Table& table(const std::string& name) const {
        return *host->workspace().tables.find(name);
    }
    // A refusal is said as what + the host's reason, then the hint on a line of its own.
    void execute(const std::string& statement, ExitStatus status, const std::string& what,
                 const std::string& hint = "") {
        try {
            host->execute(statement);
        } catch (const mbhost::HostFailure& failure) {
            const std::string reason = what + failure.reason();
            if (hint.empty()) stop(err, status, reason);
            err << kName << reason << '\n';
            stop(err, status, hint);
        }
    }
    void checkInterrupted() const {
        if (InterruptionWatch::requested()) {
            interruptions->answer();
            throw Stop{kInterrupted};
        }
    }
};

// A MapBasic string ends at its line, so a value holding a line break cannot reach the host.
void refuseLineBreaks(const Run& run) {
    const std::pair<const char*, std::optional<std::string>> given[] = {
        {"--input", run.file.input},
        {"--layer", run.file.layer},
        {"--where", run.file.where},
        {"--picture", run.file.picture}};
    for (const auto& [option, value] : given) {
        if (value && value->find_first_of("\r\n") != std::string::npos) {
            stop(run.err, kBadArguments, std::string(option) + ": a line break cannot be given");
        }
    }
}

// The storage or picture port's own refusal behind a host failure, when that is what it was.
template <class Refusal>
std::optional<Refusal> refusalBehind(const mbhost::HostFailure& failure) {
    if (!failure.cause()) return std::nullopt;
    try {
        std::rethrow_exception(failure.cause());
    } catch (const Refusal& refusal) {
        return refusal;
    } catch (...) {
    }
    return std::nullopt;
}

// The host's refusal to open a file; one of several layers is chosen here as choosing says,
// not with the host's clause.
std::string openRefusal(const mbhost::HostFailure& failure, const std::string& choosing) {
    const auto several = refusalBehind<mbhost::gdal::SeveralLayers>(failure);
    return several ? several->choosing(choosing).what() : failure.reason();
}

// --crs as a clause of the host's, which the Open Table takes in place of the file's.
std::string assignedCoordSys(const Run& run) {
    try {
        return mbhost::gdal::coordSysClauseOf(*run.file.crs);
    } catch (const std::runtime_error& refusal) {
        stop(run.err, kBadArguments, "--crs '" + *run.file.crs + "': " + refusal.what());
    }
}

void openInput(Run& run) {
    refuseLineBreaks(run);
    std::string statement = "Open Table " + mapBasicString(run.file.input);
    if (run.file.layer) statement += " Layer " + mapBasicString(*run.file.layer);
    statement += std::string(" As ") + kSource + " ReadOnly";
    if (run.file.crs) statement += " CoordSys " + assignedCoordSys(run);
    try {
        run.host->execute(statement);
    } catch (const mbhost::HostFailure& failure) {
        stop(run.err, kInputUnreadable, openRefusal(failure, "name one with --layer NAME"));
    }
    if (!run.table(kSource).mappable()) {
        stop(run.err, kInputUnreadable, "cannot read " + run.file.input + ": it holds no objects");
    }
    // Distances on a stand-in plane would be in the file's units, not metres.
    const std::string& note = run.table(kSource).data().coordSysNote;
    if (!note.empty()) {
        stop(run.err, kInputUnreadable,
             "cannot place along " + run.file.input + ": " + note +
                 "; give its system with --crs (an EPSG code such as EPSG:4326, a PROJ string "
                 "or WKT)");
    }
}

// Whether statement is one Select that makes the selection: --where may add a condition, not
// Into or NoSelect, which would send the rows elsewhere (onto the points' own table, even).
// Text that does not parse is left to the host, which says why.
bool selectsRows(const std::string& statement) {
    try {
        const mbhost::Program program = mbhost::parseStatements(statement);
        const auto* select = program.statements.size() == 1
                                 ? std::get_if<mbhost::SelectStmt>(&program.statements[0].body)
                                 : nullptr;
        return select != nullptr && select->into.empty() && !select->noSelect;
    } catch (const mbhost::MapBasicError&) {
        return true;
    }
}

void selectRows(Run& run) {
    std::string statement = std::string("Select * From ") + kSource;
    if (run.file.where) statement += " Where " + *run.file.where;
    if (!selectsRows(statement)) {
        stop(run.err, kBadArguments, "--where: a condition only, without Into or NoSelect");
    }
    run.execute(statement, kBadArguments, "--where: ",
                "--where takes a MapBasic condition: columns as the input names them, strings "
                "in double quotes (name = \"Chile\"), Like with % (name Like \"Ch%\"), "
                "numbers with a point (pop_est > 1.5E6), And, Or, Not");
    run.selection = run.host->eval("SelectionInfo(2)");
    const mbhost::Table* selection = run.host->workspace().tables.find(run.selection);
    if (selection == nullptr)
        stop(run.err, kBadArguments, "--where: the statement left no selection");
    run.selected = static_cast<std::size_t>(selection->rowCount());
    if (run.selected == 0) {
        stop(run.err, kNothingSelected, "no row of " + run.file.input + " is selected");
    }
}

// The points table, empty: checked against the output format, then made in the host.
mbhost::TableData pointsShape(const Run& run, bool withKept) {
    mbhost::TableData shape;
    shape.name = kPoints;
    shape.coordSysClause = run.table(kSource).data().coordSysClause;
    shape.columns = ownColumns(run.measure.columns);
    if (withKept) {
        for (const auto& column : run.kept) shape.columns.push_back(column.def);
    }
    return shape;
}

// The events' table, and each event's route among the selected lines.
void openEvents(Run& run) {
    const std::string& events = *run.file.events;
    if (events.find_first_of("\r\n") != std::string::npos) {
        stop(run.err, kBadArguments, "--events: a line break cannot be given");
    }
    try {
        run.host->execute("Open Table " + mapBasicString(events) + " As " + kEvents + " ReadOnly");
    } catch (const mbhost::HostFailure& failure) {
        stop(run.err, kInputUnreadable,
             openRefusal(failure, "--events reads a file of one table (ogr2ogr extracts one)"));
    }
    std::string error;
    run.events = findRoutes(run.file, run.table(run.selection), run.table(kEvents).data(), error);
    if (!error.empty()) stop(run.err, kBadArguments, error);
    if (run.events.events.empty()) stop(run.err, kRefused, events + " holds no events");
}

void makePointsTable(Run& run) {
    std::string error;
    run.kept = run.file.events
                   ? keptColumns(run.file.keep, run.table(kEvents).data(),
                                 ownColumnNames(run.measure.columns), error, ColumnOwner::Events)
                   : keptColumns(run.file.keep, run.table(kSource).data(),
                                 ownColumnNames(run.measure.columns), error);
    if (!error.empty()) stop(run.err, kBadArguments, error);
    try {
        run.store->checkCanHold(pointsShape(run, false), run.options.outputTable);
    } catch (const std::runtime_error& refusal) {
        stop(run.err, kOutputUnwritable, refusal.what());
    }
    try {
        run.store->checkCanHold(pointsShape(run, true), run.options.outputTable);
    } catch (const std::runtime_error& refusal) {
        stop(run.err, kBadArguments, std::string("--keep: ") + refusal.what());
    }
    std::string columns;
    for (const auto& column : pointsShape(run, true).columns) {
        columns += (columns.empty() ? "" : ", ") + column.name + " " + columnTypeText(column);
    }
    run.execute(std::string("Create Table ") + kPoints + " (" + columns + ")", kStopped, "");
    run.execute(std::string("Create Map For ") + kPoints + " CoordSys " +
                    run.table(kSource).data().coordSysClause,
                kOutputUnwritable, "cannot write " + run.options.outputTable + ": ");
}

// The distances to place: the typed ones as the dialog reads them, or the --every range.
std::vector<double> distancesOf(Run& run) {
    const QLocaleRegionalSettings regional;
    if (!run.file.every) {
        const std::string points = withCrLf(run.options.points);
        if (!checkPoints(points, regional, run.err)) throw Stop{kRefused};
        return parseDistanceList(trimSpaces(points), regional);
    }
    std::string error;
    const EveryRange range = *readEvery(run.file, error);
    const std::optional<double> longest =
        range.end
            ? range.end
            : longestPlaceable(*run.host, run.table(run.selection), run.measure.measure.measure);
    // The walk names the rows that cannot be placed along.
    if (!longest) return {range.start};
    const std::vector<double> distances = everyDistances(range, *longest, error);
    if (!error.empty()) stop(run.err, kBadArguments, error);
    if (distances.empty()) {
        stop(run.err, kRefused,
             "--every: no distance between --start and " +
                 std::string(range.end ? "--end" : "the longest object"));
    }
    return distances;
}

bool stopRequested() {
    return InterruptionWatch::requested();
}

// Once interrupted, the reports of the calls the interruption failed are no news.
class RunMessages final : public MessageBoxPort {
public:
    explicit RunMessages(std::ostream& err) : box_(err) {}
    void show(std::string_view text, std::string_view caption, MessageIcon icon) override {
        if (!stopRequested()) box_.show(text, caption, icon);
    }

private:
    StreamMessageBox box_;
};

// What the run writes, each beside its place until all are committed at the end.
struct StagedFiles {
    std::unique_ptr<mbhost::gdal::StagedWrite> output, picture;
};

// The output file, started before the first point: each is written as it is placed.
std::unique_ptr<mbhost::gdal::StreamedWrite> startOutput(Run& run) {
    const mbhost::TableData& source = run.table(kSource).data();
    try {
        return std::make_unique<mbhost::gdal::StreamedWrite>(
            pointsShape(run, true), run.options.outputTable,
            mbhost::gdal::RowsToCome{mbhost::gdal::extentOf(source), wkbPoint});
    } catch (const std::runtime_error& failure) {
        run.checkInterrupted();
        stop(run.err, kOutputUnwritable, failure.what());
    }
}

PictureSample pictureSample(Run& run) {
    return {*run.host, kPoints,
            mbhost::gdal::extentOf(run.table(kSource).data()).value_or(mbhost::Bounds{})};
}

// The walk's order for the run: progress after each object and, once interrupted or once the
// output takes no more (failed), the remaining objects passed over so that the walk ends soon.
PlacementOrder orderOf(const Run& run, std::vector<double>& distances, ProgressLine& progress,
                       std::function<bool()> failed) {
    return {distances, kPoints, [&run] { return run.options.fromTheEnd; },
            [&progress](const ObjectReport& object) {
                progress.objectDone(static_cast<std::size_t>(std::max(object.placed, 0)));
            },
            [failed = std::move(failed)] { return stopRequested() || failed(); }};
}

// One walk along each line places its events, each written as it is placed.
ExitStatus placeEvents(Run& run, ProgressLine& progress, mbhost::gdal::StreamedWrite& output) {
    RunMessages messages(run.err);
    std::optional<PictureSample> picture;
    if (run.file.picture) picture.emplace(pictureSample(run));
    const mbhost::Table& routes = run.table(run.selection);
    EventRows rows(output, run.kept, run.events, run.table(kEvents).data(),
                   picture ? &*picture : nullptr,
                   run.measure.columns.angle ? routes.coordSys().get() : nullptr);
    EventWalk walk(
        *run.host, routes, messages, run.events.events, run.events.routes,
        [&](std::size_t event, const EventPoint& point) { rows.add(event, point); },
        run.measure.measure.measure);
    std::vector<double> unused;
    const PlacementReport report = placeSelection(
        walk, orderOf(run, unused, progress, [&] { return !rows.failure().empty(); }), messages);
    progress.finish();
    run.checkInterrupted();
    if (!rows.failure().empty()) stop(run.err, kOutputUnwritable, rows.failure());
    if (report.outcome != PlacementOutcome::Placed) return statusOf(report, kPoints, run.err);
    std::size_t unplaced = 0;
    run.skipped = reportUnplaced(walk, run.events.events, unplaced, run.err);
    const std::size_t placed = run.events.events.size() - unplaced;
    if (placed == 0) run.err << kName << "no event could be placed: " << run.skipped << '\n';
    return unplaced == 0 ? kPlaced : placed == 0 ? kRefused : kPartlyPlaced;
}

// The points go straight into the output file: the host's tables are read as numbers and no
// statement is written per point.
ExitStatus place(Run& run, std::vector<double> distances, ProgressLine& progress,
                 mbhost::gdal::StreamedWrite& output) {
    RunMessages messages(run.err);
    QSort(distances);
    std::optional<PictureSample> picture;
    if (run.file.picture) picture.emplace(pictureSample(run));
    StreamedPoints sink(output, run.measure.columns, run.kept, run.table(run.selection),
                        run.table(kSource).data(), picture ? &*picture : nullptr);
    DirectPlacement selection(*run.host, sink, messages, run.measure.measure);
    const PlacementReport report = placeSelection(
        selection, orderOf(run, distances, progress, [&] { return !sink.failure().empty(); }),
        messages);
    progress.finish();
    run.checkInterrupted();
    if (!sink.failure().empty()) stop(run.err, kOutputUnwritable, sink.failure());
    run.skipped = reportSkippedRows(report, run.table(run.selection), run.table(kSource).data(),
                                    run.kept, run.err);
    const ExitStatus status = statusOf(report, kPoints, run.err);
    if (status == kRefused && !run.skipped.empty()) {
        run.err << kName << "no row could be placed along: " << run.skipped << '\n';
    }
    return status;
}

// The seam where tests interrupt a run: with VELTRANO_BATCH_INTERRUPT_AT=STEP in the
// environment the run sends itself SIGINT as it comes to STEP: write, picture, commit, written.
void interruptionStep(const char* step) {
    const char* at = std::getenv("VELTRANO_BATCH_INTERRUPT_AT");
    if (at && std::string_view(at) == step) ::raise(SIGINT);
}

// The output's rows are all written: the file is completed and checked.
void finishOutput(Run& run, mbhost::gdal::StreamedWrite& output, StagedFiles& staged) {
    run.checkInterrupted();
    interruptionStep("write");
    try {
        staged.output = output.finish();
    } catch (const std::runtime_error& failure) {
        run.checkInterrupted();
        stop(run.err, kOutputUnwritable, failure.what());
    }
}

// Drawn into a working folder beside the picture, as the output is written.
void savePicture(Run& run, StagedFiles& staged) {
    if (!run.file.picture) return;
    interruptionStep("picture");
    const std::string& picture = *run.file.picture;
    try {
        staged.picture = std::make_unique<mbhost::gdal::StagedWrite>(picture, picture);
    } catch (const std::runtime_error& refusal) {
        stop(run.err, kOutputUnwritable, refusal.what());
    }
    run.execute(std::string("Map From ") + kPoints + ", " + kSource, kStopped, "");
    const std::string drawn = staged.picture->stagedPath();
    try {
        run.host->execute("Save Window FrontWindow() As " + mapBasicString(drawn));
    } catch (const mbhost::HostFailure& failure) {
        run.checkInterrupted();
        // Drawn under a working name: the refusal names the picture the user asked for.
        const auto refusal = refusalBehind<mbhost::gdal::StorageError>(failure);
        stop(run.err, kOutputUnwritable,
             refusal ? mbhost::gdal::writeError(picture, refusal->reason()).what()
                     : failure.reason());
    }
    run.checkInterrupted();
}

// The output, then the picture; a picture that cannot be committed takes the output back.
void commitFiles(Run& run, StagedFiles& staged) {
    const bool replace = run.file.overwrite;
    try {
        staged.output->commit(replace);
    } catch (const std::runtime_error& failure) {
        stop(run.err, kOutputUnwritable, failure.what());
    }
    if (!staged.picture) return;
    try {
        staged.picture->commit(replace);
    } catch (const std::runtime_error& failure) {
        std::string reason = failure.what();
        try {
            staged.output->undo();
        } catch (const std::runtime_error& kept) {
            reason += "; " + std::string(kept.what());
        }
        stop(run.err, kOutputUnwritable, reason);
    }
}

class Stopwatch {
public:
    double lap() {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - last_).count();
        last_ = now;
        return seconds;
    }

    double total() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - first_).count();
    }

private:
    std::chrono::steady_clock::time_point first_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = first_;
};

// The events' file is an input too: never overwritten by the output or the picture.
void refuseEventsOutput(const Run& run) {
    if (!run.file.events) return;
    const OutputRefusal refusal = refuseOutput(*run.file.events, run.options.outputTable,
                                               run.file.picture, run.file.overwrite);
    if (refusal.status != kPlaced) stop(run.err, refusal.status, refusal.reason);
}

ExitStatus runSteps(Run& run, std::ostream& err, bool live) {
    std::string error;
    if (run.file.every && !readEvery(run.file, error)) stop(err, kBadArguments, error);
    const auto measure = readMeasureOptions(run.file, error);
    if (!measure) stop(err, kBadArguments, error);
    run.measure = *measure;
    Stopwatch watch;
    openInput(run);
    const std::string refused =
        measureRefusal(run.measure.measure.measure, *run.table(kSource).coordSys());
    if (!refused.empty()) stop(err, kBadArguments, refused);
    const OutputRefusal refusal =
        refuseOutput(run.file.input, run.options.outputTable, run.file.picture, run.file.overwrite);
    if (refusal.status != kPlaced) stop(err, refusal.status, refusal.reason);
    refuseEventsOutput(run);
    selectRows(run);
    if (run.file.events) openEvents(run);
    run.times.open = watch.lap();
    makePointsTable(run);
    std::vector<double> distances = run.file.events ? std::vector<double>{} : distancesOf(run);
    run.checkInterrupted();
    ProgressLine progress(err, live, run.selected);
    StagedFiles staged;
    ExitStatus status = kPlaced;
    {
        const mbhost::gdal::WriteStopCheck stopCheck(stopRequested);  // a long write stops too
        const auto output = startOutput(run);
        status = run.file.events ? placeEvents(run, progress, *output)
                                 : place(run, std::move(distances), progress, *output);
        run.times.place = watch.lap();
        if (status != kPlaced && status != kPartlyPlaced) return status;
        finishOutput(run, *output, staged);
    }
    savePicture(run, staged);
    interruptionStep("commit");
    run.checkInterrupted();
    commitFiles(run, staged);
    interruptionStep("written");
    run.times.write = watch.lap();
    if (InterruptionWatch::requested()) {
        err << kName << "interrupted after the commit: " << run.options.outputTable
            << " was written\n";
    }
    if (!run.file.quiet) {
        err << kName << progress.objects() << " objects, " << progress.points() << " points in "
            << std::fixed << std::setprecision(1) << watch.total()
            << " s: " << run.options.outputTable << (run.skipped.empty() ? "" : "; ") << run.skipped
            << '\n';
    }
    return status;
}
}  // namespace

ExitStatus runFile(const Options& options, std::ostream& err, bool errIsTerminal, RunTimes* times) {
    const InterruptionWatch interruptions(
        err, kName + std::string("interrupted: nothing was written to ") + options.outputTable);
    Run run(options, err);
    run.interruptions = &interruptions;
    run.host->setTableStore(run.store);
    run.host->setMapRenderer(std::make_shared<mbhost::picture::MapPictureRenderer>());
    ExitStatus status = kPlaced;
    try {
        status = runSteps(run, err, errIsTerminal && !options.file->quiet);
    } catch (const Stop& stopped) {
        status = stopped.status;
    }
    if (times) *times = run.times;
    return status;
}

}  // namespace veltrano::batch
