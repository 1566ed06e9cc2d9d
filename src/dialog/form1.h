// The main dialog's presenter: attach, output tables, selection summary and the placement command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/form1_view.h"
#include "engine/set_points_on_line.h"
#include "host/automation.h"
#include "platform/beep.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"
#include "platform/window_activation.h"

namespace veltrano {

class miProObj;
class miProTblInfo;

// The placement of points along one object: the engine's entry point, or a stand-in. The
// result is the number of points placed.
using PlacementEngine = std::function<std::int32_t(miProObj&, const PlacementRequest&)>;

// How a press of OK ended.
enum class PlacementOutcome {
    Placed,       // the walk went over the selection
    Refused,      // no distance or no nameable output table: nothing was sent to the host
    NoSelection,  // the host holds no selection (or could not be asked)
    Failed,       // a failure stopped the walk; it has been reported
};

// The main dialog: attaches to the running host, offers its writable base tables as output
// tables, describes the selection, and places the points when OK is pressed. Every host
// exchange goes through one host connection object, created at the first attach.
class Form1 {
public:
    struct Ports {
        AutomationProvider& hosts;
        MessageBoxPort& messages;
        BeepPort& beep;
        BusyPointerPort& busy;
        const RegionalSettings& regional;
        WindowActivationPort& activation;
    };

    Form1(Form1View& view, Ports ports, PlacementEngine placement, std::function<void()> showAbout);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The program's start: attach quietly, list the tables, describe the selection.
    void load();
    PlacementOutcome cmdOKClick();
    void cmdRefreshMIClick();
    void cmdAboutClick();
    void cmdCloseClick();
    // Lets go of the host (it keeps running) and of the table records; never fails.
    void unload();

    // Attaches and refills the output-table list: the number of tables listed, or -1 when
    // the host cannot be reached (said in a message box unless quiet).
    std::int32_t listOutputTables(bool quiet);
    std::string selectionSummary();

    // Whether the last attach reached the host.
    bool hostReachable() const { return hostReachable_; }

    static constexpr const char* kDistanceColumn = "distanceM";
    static constexpr const char* kRowIdColumn = "xRowId";

private:
    PlacementOutcome runPlacement();
    PlacementOutcome walkSelection(std::vector<double>& distances, std::string outputTable);
    bool isUsableOutputName(const std::string& name) const;
    void ending();
    std::int32_t refreshTables(bool quiet);
    void showSummary();
    void reportInternalError();
    void warn(std::string_view text, std::string_view caption);

    Form1View& view_;
    Ports ports_;
    PlacementEngine placement_;
    std::function<void()> showAbout_;
    std::unique_ptr<miProObj> host_;
    std::vector<std::shared_ptr<miProTblInfo>> tablesInfo_;
    bool hostReachable_ = false;
    bool unloaded_ = false;
};

}  // namespace veltrano
