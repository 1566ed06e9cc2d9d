// The command line of veltrano-batch.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrano::batch {

struct Options {
    std::string points;       // the distance text, as typed into the dialog
    std::string outputTable;  // the output table's name
    bool fromTheEnd = false;
    bool help = false;
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // why the arguments were refused, when they were
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace veltrano::batch
