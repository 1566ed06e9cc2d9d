// One run of veltrano-batch: attach, place, print.
#pragma once

#include <ostream>
#include <string>

#include "batch_options.h"
#include "exit_status.h"
#include "host/automation.h"
#include "placement/place_selection.h"
#include "platform/regional_settings.h"

namespace veltrano::batch {

// Where the host is looked for, as the user can know it (mbhost's socket path).
struct HostSource {
    AutomationProvider& hosts;
    std::string address;
};

// Places the given distances along the host's selection as the dialog's OK does; the
// selection summary with one line per object goes to out, the messages to err.
ExitStatus runBatch(const Options& options, HostSource host, std::ostream& out, std::ostream& err);

// Says which typed pieces place nothing or are read only in part; false when none places a
// point.
bool checkPoints(const std::string& points, const RegionalSettings& regional, std::ostream& err);

// The exit status of a placement that ended with report, the refused inserts into table
// listed on err.
ExitStatus statusOf(const PlacementReport& report, const std::string& table, std::ostream& err);

// A shell's line breaks as the dialog's text boxes hold them (CR LF).
std::string withCrLf(const std::string& text);

}  // namespace veltrano::batch
