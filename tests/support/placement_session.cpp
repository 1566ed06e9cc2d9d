#include "support/placement_session.h"

#include <algorithm>
#include <sstream>

#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/memory_form1_view.h"
#include "platform/clock_random.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"

namespace veltrano::testing {

namespace {

const char* outcomeName(PlacementOutcome outcome) {
    constexpr const char* kNames[] = {"placed", "refused", "no selection", "failed"};
    return kNames[static_cast<int>(outcome)];
}

struct Session {
    explicit Session(AutomationProvider& hosts)
        : form(view, {hosts, messages, beep, busy, regional, activation},
               enginePlacement({messages, random, timer}), {}) {}

    // Chooses the output table by name, as a click in its list would.
    bool chooseOutputTable(const std::string& name) {
        const auto at = std::ranges::find(view.outputTables, name);
        if (at == view.outputTables.end()) return false;
        view.selectOutputTable(static_cast<int>(at - view.outputTables.begin()));
        return true;
    }

    void press(std::ostringstream& report, const std::string& points, const std::string& table,
               int fromTheEnd) {
        view.points = points;
        report << "output table " << table << (chooseOutputTable(table) ? "" : " missing") << '\n';
        view.startFromTheEnd = fromTheEnd;
        report << "OK: " << outcomeName(form.cmdOKClick()) << '\n';
        report << "points: " << view.points << '\n';
        report << "summary:\n" << view.summary << '\n';
    }

    MemoryForm1View view;
    RecordingMessageBox messages;
    CountingBeep beep;
    RecordingBusyPointer busy;
    FixedRegionalSettings regional = FixedRegionalSettings::pointLocale();
    RecordingWindowActivation activation;
    Lcg24Random random;
    FixedTimer timer;
    Form1 form;
};

}  // namespace

std::string runPlacementSession(AutomationProvider& hosts) {
    Session session(hosts);
    std::ostringstream report;
    session.form.load();
    report << "host reachable: " << session.form.hostReachable() << '\n';
    for (const std::string& table : session.view.outputTables) report << "table " << table << '\n';
    report << "summary:\n" << session.view.summary << '\n';

    session.press(report, "12000;250\r\n5000\r\n1000", kSessionPointTable, 0);
    session.press(report, "800", kSessionLabelTable, 1);
    session.form.cmdRefreshMIClick();
    report << "after refresh:\n" << session.view.summary << '\n';
    session.form.unload();

    for (const ShownMessage& m : session.messages.shown) {
        report << "message box: " << m.caption << ": " << m.text << '\n';
    }
    report << "beeps: " << session.beep.count << '\n';
    report << "busy pointer changes: " << session.busy.changes.size() << '\n';
    for (const auto& call : session.activation.calls) report << "activated " << call.title << '\n';
    return report.str();
}

}  // namespace veltrano::testing
