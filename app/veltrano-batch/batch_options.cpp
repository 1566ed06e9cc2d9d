#include "batch_options.h"

#include <algorithm>
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
    "       veltrano-batch --input FILE [--layer NAME] [--crs CRS] [--where CONDITION]\n"
    "                      (--points LIST | --points-file FILE | --every STEP [--start D]\n"
    "                      [--end D]) --output FILE [--keep COLUMNS|all] [--from-end]\n"
    "                      [--angle] [--parts joined|each] [--distance ground|grid]\n"
    "                      [--picture FILE.png|.svg|.pdf] [--overwrite] [--quiet]\n"
    "       veltrano-batch --input FILE [...] --events TABLE --route-key COLUMN\n"
    "                      --event-route COLUMN --event-measure COLUMN --output FILE\n"
    "                      [--keep COLUMNS|all] [--from-end] [--picture FILE] [--overwrite]\n"
    "       veltrano-batch --help | --version\n"
    "Places points at the given distances (metres, separated by ';' or line breaks) along\n"
    "every object selected in the running mbhost, into the output table, as the dialog's OK\n"
    "does. --points-file reads the distances from FILE, or from standard input for '-'.\n"
    "The host is found at mbhost's default socket, or at MBHOST_SOCKET when set.\n"
    "Prints the selection summary and one result line per object on standard output and\n"
    "every message on standard error.\n"
    "\n"
    "With --input, mbhost runs inside veltrano-batch: it opens FILE (.tab, .mif, .shp,\n"
    "  .geojson, .gpkg; --layer names the layer of a file that holds several), selects its rows\n"
    "  (--where: a MapBasic condition, as the host's console takes it), and writes each\n"
    "  point, with distanceM and xRowId in the input's coordinate system, to the --output\n"
    "  file in the format its extension names (.tab, .mif, .shp, .geojson, .gpkg, or .csv\n"
    "  with X and Y columns first), whole or not at all. An existing output is replaced only\n"
    "  with --overwrite. Rows that hold no line to place along are skipped and named; the\n"
    "  other rows are placed.\n"
    "--crs CRS     the input's coordinate system (EPSG:4326, a PROJ string or WKT): required\n"
    "  for an input that names none, it replaces the one it names.\n"
    "--every STEP  a point every STEP metres: START, START+STEP, ... up to END, where --start\n"
    "  defaults to STEP and --end to the longest selected object's length (plain point-decimal\n"
    "  numbers). No point is placed at 0 or at an object's very end.\n"
    "--keep a,b    copies the source columns a and b onto each point (--keep all: every\n"
    "  column). xRowId is the object's place in the selection, not its row in the file: keep\n"
    "  a key column to link them.\n"
    "--angle       adds angle: the line's direction at the point, degrees clockwise from north\n"
    "  in [0, 360) (geodesic in lat/long, the grid bearing in projected data); with --events,\n"
    "  the route's direction at each event.\n"
    "--parts each  measures each part of a multi-part object on its own from its own start\n"
    "  (or end) and adds part, its number from 1; joined (the default) runs on across parts.\n"
    "--distance grid  measures planar lengths in the input's units (as QGIS and PostGIS do)\n"
    "  instead of ground metres (ground, the default); not for lat/long input.\n"
    "--events T    places each row of the table T (.csv or any table file) on its route: the\n"
    "  selected line whose --route-key column holds the event's --event-route value, at its\n"
    "  --event-measure in metres (0: the line's start). A text key matches exactly (case\n"
    "  counts, surrounding spaces do not); a number key matches the same number, written as\n"
    "  text or not (\"0042\" is 42). --keep names event columns (all: every one). Events that\n"
    "  cannot be placed (unknown or repeated route, measure negative, not a number or beyond\n"
    "  the line) are listed and counted: exit 6 when others were placed, 3 when none was.\n"
    "  veltrano-batch --input roads.gpkg --events crashes.csv --route-key road_id\n"
    "      --event-route ROAD --event-measure KM_M --keep all --output crashes.gpkg\n"
    "--picture     saves a map of the selected objects and the placed points.\n"
    "--quiet       leaves only the errors on standard error (no progress, no summary).\n"
    "\n"
    "Exit status:\n";
}  // namespace

std::string usageText() {
    return kUsageHead + exitStatusLines();
}

namespace {
// Every option, once: the parser fills its target, and a mistyped name is matched against
// these names.
struct Option {
    const char* name;
    std::optional<std::string>* value = nullptr;  // an option that takes a value
    bool* flag = nullptr;                         // or one that is only given
};

// The edit distance between two names (insertions, deletions, substitutions).
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// One line for an argument that is no option: the nearest option's name when it is near.
std::string unknownArgument(const std::string& arg, const std::vector<Option>& options) {
    const std::string name = arg.substr(0, arg.find('='));
    const Option* nearest = nullptr;
    // A typo is at most two edits, and fewer than half the name: "-x" is not a slip for "-h".
    std::size_t best = std::min<std::size_t>(3, (name.size() + 1) / 2);
    for (const Option& option : options) {
        const std::size_t distance = editDistance(name, option.name);
        if (distance < best) best = distance, nearest = &option;
    }
    const std::string what = arg.rfind('-', 0) == 0 ? "unknown option " : "unexpected argument ";
    return what + name + (nearest ? std::string("; did you mean ") + nearest->name + "?" : "");
}

// Takes the option at args[i] (and its value); false when arg names none of them.
bool take(const std::vector<std::string>& args, std::size_t& i, const Option& option,
          std::string& error) {
    const std::string& arg = args[i];
    const std::string name = option.name;
    if (option.flag) {
        if (arg != name) return false;
        *option.flag = true;
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        *option.value = arg.substr(name.size() + 1);
        return true;
    }
    if (arg != name) return false;
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
    } else {
        *option.value = args[++i];
    }
    return true;
}

// The file mode's options given against a running host's selection.
std::string optionsWithoutInput(const FileOptions& file, bool keep) {
    const bool any = file.layer || file.crs || file.where || file.every || file.start || file.end ||
                     keep || file.picture || file.overwrite || file.quiet || file.events ||
                     file.routeKey || file.eventRoute || file.eventMeasure;
    const bool measuring = file.angle || file.parts || file.distance;
    return any || measuring
               ? "--layer, --crs, --where, --every, --start, --end, --events, --keep, --picture, "
                 "--overwrite, --quiet, --angle, --parts and --distance need --input"
               : "";
}

// --events takes the place of the distances, and needs its three columns named.
std::string eventsError(const FileOptions& file, bool listed) {
    const bool columns = file.routeKey || file.eventRoute || file.eventMeasure;
    if (!file.events)
        return columns ? "--route-key, --event-route and --event-measure need --events" : "";
    if (listed || file.every || file.start || file.end) {
        return "--events excludes --points, --points-file, --every, --start and --end";
    }
    // An event is a point on the whole line: no part of it, and no direction yet.
    if (file.parts) return "--events excludes --parts";
    if (!file.routeKey) return "--events needs --route-key, the input's column of route values";
    if (!file.eventRoute) return "--events needs --event-route, the events' column of route values";
    if (!file.eventMeasure) return "--events needs --event-measure, the events' column of measures";
    return {};
}

std::string fileModeError(const FileOptions& file, bool listed) {
    if (file.events || file.routeKey || file.eventRoute || file.eventMeasure) {
        return eventsError(file, listed);
    }
    if (!file.every && !listed) return "--points, --points-file, --every or --events is missing";
    if (file.every && listed) return "--every excludes --points and --points-file";
    if (!file.every && (file.start || file.end)) return "--start and --end need --every";
    return {};
}
}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    FileOptions file;
    std::optional<std::string> points, pointsFile, output, input, keep;
    bool help = false;
    const std::vector<Option> known = {
        {"--help", nullptr, &help},
        {"-h", nullptr, &help},
        {"--version", nullptr, &options.version},
        {"--from-end", nullptr, &options.fromTheEnd},
        {"--points", &points},
        {"--points-file", &pointsFile},
        {"--output", &output},
        {"--input", &input},
        {"--layer", &file.layer},
        {"--crs", &file.crs},
        {"--where", &file.where},
        {"--every", &file.every},
        {"--start", &file.start},
        {"--end", &file.end},
        {"--keep", &keep},
        {"--events", &file.events},
        {"--route-key", &file.routeKey},
        {"--event-route", &file.eventRoute},
        {"--event-measure", &file.eventMeasure},
        {"--picture", &file.picture},
        {"--overwrite", nullptr, &file.overwrite},
        {"--quiet", nullptr, &file.quiet},
        {"--angle", nullptr, &file.angle},
        {"--parts", &file.parts},
        {"--distance", &file.distance},
    };
    std::string error;
    for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
        const auto taken = [&](const Option& option) { return take(arguments, i, option, error); };
        if (std::none_of(known.begin(), known.end(), taken)) {
            error = unknownArgument(arguments[i], known);
        }
    }
    options.help = help;
    if (error.empty() && !options.help && !options.version) {
        error = input ? fileModeError(file, points || pointsFile)
                      : optionsWithoutInput(file, keep.has_value());
        if (input && (file.every || file.events)) points = "";  // made when the run starts
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
    if (input) {
        file.input = *input;
        file.keep = keep.value_or("");
        options.file = file;
    }
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
