// The main dialog's presenter over the scripted host of a host link, with tables and a
// selection whose cursor follows the fetch statements sent to it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog/form1.h"
#include "dialog/memory_form1_view.h"
#include "support/host_link_fixture.h"

namespace veltrano::testing {

struct SelectedObject {
    std::string type;  // as Str$ of the object names it
    int nodes = 0, sections = 0;
    double metres = 0.0;  // length or perimeter
};

// One call of the placement engine as the dialog made it; the tables and columns it names
// meet mbhost in the recorded session.
struct PlacementCall {
    std::vector<double> distances;
    bool fromTheEnd = false;
};

class DialogFixture : public HostLinkFixture {
public:
    explicit DialogFixture(FixedRegionalSettings settings = FixedRegionalSettings::pointLocale())
        : HostLinkFixture(settings) {
        answerEmptyHost(*host);
        host->answerWith([this](const std::string& e) { return answerFor(e); });
    }

    // Selects these objects of Roads, held in the selection table Query1.
    void select(std::vector<SelectedObject> objects) {
        selected = std::move(objects);
        selectedRows = static_cast<std::int32_t>(selected.size());
    }

    // The host ends and no other copy runs.
    void hostGone() {
        host->die();
        provider.running.reset();
    }

    // Made on first use, from the window, the hosts and the placement as they are then.
    Form1& form() {
        if (!form_) {
            form_ = std::make_unique<Form1>(
                *window, Form1::Ports{*hosts, messages, beep, busy, regional, activation},
                placement, [this] { ++aboutShown; });
        }
        return *form_;
    }

    MemoryForm1View view;
    Form1View* window = &view;
    AutomationProvider* hosts = &provider;
    // Records each call, placing as many points as distances unless onPlacement says.
    PlacementEngine placement = [this](miProObj&, const PlacementRequest& r) {
        calls.push_back({r.distances, r.fromTheEnd});
        if (onPlacement) return onPlacement(calls.size());
        return ObjectPlacement(static_cast<std::int32_t>(r.distances.size()));
    };
    CountingBeep beep;
    RecordingBusyPointer busy;
    std::vector<PlacementCall> calls;
    std::function<ObjectPlacement(std::size_t)> onPlacement;
    int aboutShown = 0;

    std::vector<SelectedObject> selected;
    std::int32_t selectedRows = 0;  // what SelectionInfo( 3) answers

private:
    // The selected row the host's cursor is on: the fetches since the last "fetch first".
    std::size_t cursor() const {
        std::size_t row = 0;
        for (const auto& s : host->statements())
            row = s.starts_with("fetch first") ? 0 : row + s.starts_with("fetch next");
        return row;
    }

    std::optional<std::string> answerFor(const std::string& e) const {
        if (e == "SelectionInfo( 3) ") return std::to_string(selectedRows);
        if (e == "SelectionInfo( 2)") return "Query1";
        if (e == "SelectionInfo( 1)") return "Roads";
        if (e == "TableInfo(Query1,29) ") return "CoordSys Earth Projection 1, 104";
        const bool atEnd = cursor() >= selected.size();
        if (e == "EOT(Query1)" || e == "EOT(Query1) ") return atEnd ? "T" : "F";
        if (atEnd) return std::nullopt;
        const SelectedObject& o = selected[cursor()];
        if (e == "Str$(Query1.obj)") return o.type;
        if (e == "ObjectInfo(Query1.obj, 20)") return std::to_string(o.nodes);
        if (e == "ObjectInfo(Query1.obj, 21)") return std::to_string(o.sections);
        if (e == "ObjectLen(Query1.obj, \"m\") " || e == "Perimeter(Query1.obj, \"m\") ") {
            return std::to_string(o.metres);
        }
        return std::nullopt;
    }

    std::unique_ptr<Form1> form_;
};

}  // namespace veltrano::testing
