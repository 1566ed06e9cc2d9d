// The command line of veltrano-batch.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::batch {

struct Options {
    std::string points;       // the distance text, as typed into the dialog
    std::string outputTable;  // the output table's name
    bool fromTheEnd = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> pointsFile;  // where to read the points ("-": standard input)
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
