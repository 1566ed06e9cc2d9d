// The output file of a file run, judged before anything is placed: its format, and whether
// writing it (or the picture) would replace one of the input's files or an existing file.
#pragma once

#include <optional>
#include <string>

#include "exit_status.h"

namespace veltrano::batch {

struct OutputRefusal {
    ExitStatus status = kPlaced;  // kPlaced: the output may be written
    std::string reason;           // names the file
};

// Refuses an output or picture that is, by any name, one of input's files (a folder input's
// files all count), and one that exists without overwrite.
OutputRefusal refuseOutput(const std::string& input, const std::string& output,
                           const std::optional<std::string>& picture, bool overwrite);

}  // namespace veltrano::batch
