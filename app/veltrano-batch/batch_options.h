// The command line of veltrano-batch.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::batch {

// What the file mode reads and writes: its options as given, checked when the run starts.
struct FileOptions {
    std::string input;
    std::optional<std::string> layer;
    std::optional<std::string> crs;  // the input's system, as GDAL reads it
    std::optional<std::string> where;
    std::optional<std::string> every, start, end;  // point-decimal numbers, as typed
    std::string keep;                              // column names separated by ','
    // --events: a table of route values and measures, placed on the routes its columns name.
    std::optional<std::string> events, routeKey, eventRoute, eventMeasure;
    std::optional<std::string> picture;
    bool overwrite = false;
    bool quiet = false;
    bool angle = false;                   // each point gets the line's direction there
    std::optional<std::string> parts;     // joined or each, as typed
    std::optional<std::string> distance;  // ground or grid, as typed
};

struct Options {
    std::string points;       // the distance text, as typed into the dialog
    std::string outputTable;  // the output table's name (with --input: the output file)
    bool fromTheEnd = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> pointsFile;  // where to read the points ("-": standard input)
    std::optional<FileOptions> file;        // set by --input: from a file to a file
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // why the arguments were refused, when they were
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

// Reads the distance text from options.pointsFile when one is named; false, with the
// reason in error, when it cannot be read.
bool loadPointsFile(Options& options, std::istream& standardInput, std::string& error);

std::string usageText();

}  // namespace veltrano::batch
