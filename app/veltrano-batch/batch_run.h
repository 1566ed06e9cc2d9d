// One run of veltrano-batch: attach, place, print.
#pragma once

#include <ostream>
#include <string>

#include "batch_options.h"
#include "dialog/form1.h"
#include "exit_status.h"
#include "host/automation.h"
#include "insert_watch.h"
#include "platform/regional_settings.h"

namespace veltrano::batch {

// Where the host is looked for, as the user can know it (mbhost's socket path).
struct HostSource {
    AutomationProvider& hosts;
    std::string address;
};

// Runs the dialog's OK over the host's selection with the given inputs; the resulting
// summary text goes to out, the messages to err.
ExitStatus runBatch(const Options& options, HostSource host, std::ostream& out, std::ostream& err);

// Says which typed pieces place nothing or are read only in part; false when none places a
// point.
bool checkPoints(const std::string& points, const RegionalSettings& regional, std::ostream& err);

// The exit status of a press of OK that ended with outcome, the refused inserts into table
// listed on err.
ExitStatus statusOf(PlacementOutcome outcome, const InsertRecord& record, const std::string& table,
                    std::ostream& err);

// A shell's line breaks as the dialog's text boxes hold them (CR LF).
std::string withCrLf(const std::string& text);

}  // namespace veltrano::batch
