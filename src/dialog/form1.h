// The main dialog's presenter: attach, output tables, selection summary and the placement command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/form1_view.h"
#include "host/automation.h"
#include "placement/mapbasic_selection.h"
#include "placement/place_selection.h"
#include "platform/beep.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"
#include "platform/window_activation.h"

namespace veltrano {

class miProObj;
class miProTblInfo;

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

    static constexpr const char* kDistanceColumn = veltrano::kDistanceColumn;
    static constexpr const char* kRowIdColumn = veltrano::kRowIdColumn;
    // What an attach that reaches no host says.
    static constexpr std::string_view kNoHostCaption = "Error: No active Mapinfo.";
    static constexpr std::string_view kNoHostText =
        "Не удалось выполнить подключение к работающей копии MapInfo.\r\n"
        "Для работы приложения программа MapInfo должна быть загружена.";

private:
    PlacementOutcome runPlacement();
    PlacementOutcome walkSelection(std::vector<double>& distances, std::string outputTable);
    void ending();
    std::int32_t refreshTables(bool quiet);
    void showSummary();
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
