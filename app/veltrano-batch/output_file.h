// The output file of a file run, judged before anything is placed: its format, and whether
// writing it would replace the input or an existing file.
#pragma once

#include <string>

#include "exit_status.h"

namespace veltrano::batch {

struct OutputRefusal {
    ExitStatus status = kPlaced;  // kPlaced: the output may be written
    std::string reason;           // names the file
};

OutputRefusal refuseOutput(const std::string& input, const std::string& output, bool overwrite);

}  // namespace veltrano::batch
