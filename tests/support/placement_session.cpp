#include "support/placement_session.h"

#include <algorithm>
#include <sstream>

#include "dialog/engine_placement.h"
#include "platform/clock_random.h"
#include "support/dialog_fixture.h"

namespace veltrano::testing {

namespace {

const char* outcomeName(PlacementOutcome outcome) {
    constexpr const char* kNames[] = {"placed", "refused", "no selection", "failed"};
    return kNames[static_cast<int>(outcome)];
}

// Chooses the output table by name, as a click in its list would.
bool chooseOutputTable(MemoryForm1View& view, const std::string& name) {
    const auto at = std::ranges::find(view.outputTables, name);
    if (at == view.outputTables.end()) return false;
    view.selectOutputTable(static_cast<int>(at - view.outputTables.begin()));
    return true;
}

void press(DialogFixture& session, std::ostringstream& report, const std::string& points,
           const std::string& table, int fromTheEnd) {
    MemoryForm1View& view = session.view;
    view.points = points;
    report << "output table " << table << (chooseOutputTable(view, table) ? "" : " missing")
           << '\n';
    view.startFromTheEnd = fromTheEnd;
    report << "OK: " << outcomeName(session.form().cmdOKClick()) << '\n';
    report << "points: " << view.points << '\n';
    report << "summary:\n" << view.summary << '\n';
}

}  // namespace

std::string runPlacementSession(AutomationProvider& hosts) {
    DialogFixture session;
    Lcg24Random random;
    FixedTimer timer;
    session.hosts = &hosts;
    session.placement = enginePlacement({session.messages, random, timer});
    std::ostringstream report;
    session.form().load();
    report << "host reachable: " << session.form().hostReachable() << '\n';
    for (const std::string& table : session.view.outputTables) report << "table " << table << '\n';
    report << "summary:\n" << session.view.summary << '\n';

    press(session, report, "12000;250\r\n5000\r\n1000", kSessionPointTable, 0);
    press(session, report, "800", kSessionLabelTable, 1);
    session.form().cmdRefreshMIClick();
    report << "after refresh:\n" << session.view.summary << '\n';
    session.form().unload();

    for (const ShownMessage& m : session.messages.shown) {
        report << "message box: " << m.caption << ": " << m.text << '\n';
    }
    report << "beeps: " << session.beep.count << '\n';
    report << "busy pointer changes: " << session.busy.changes.size() << '\n';
    for (const auto& call : session.activation.calls) report << "activated " << call.title << '\n';
    return report.str();
}

}  // namespace veltrano::testing
