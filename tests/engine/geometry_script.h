// Scripts a host that holds one object in a variable: answers the node, count, distance and
// length expressions with texts the test chooses, so the exact traffic can be checked.
#pragma once

#include <string>
#include <vector>

#include "engine/mapbasic_texts.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {

namespace mbt = mapbasic_text;

struct ScriptedNode {
    std::string xText;
    std::string yText;
    std::string distanceFromPrevious;  // the host's answer for the edge ending here
};
using ScriptedSections = std::vector<std::vector<ScriptedNode>>;

// Registers the answers for a polyline or region made of these sections and returns the
// requests the extraction must send, in order.
inline std::vector<Request> scriptSections(ScriptedAutomation& host, const std::string& table,
                                           const std::string& obj, const ScriptedSections& sections,
                                           const std::string& lengthQuery,
                                           const std::string& lengthAnswer) {
    std::vector<Request> expected{{"Do", "Set CoordSys Table " + table + " "}};
    auto ask = [&](const std::string& text, const std::string& answer) {
        host.answer(text, answer);
        expected.push_back({"Eval", text});
    };
    ask(mbt::count(obj, 21), std::to_string(sections.size()));
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int sectionNo = static_cast<int>(s) + 1;
        ask(mbt::count(obj, 21 + sectionNo), std::to_string(sections[s].size()));
        for (std::size_t n = 0; n < sections[s].size(); ++n) {
            const ScriptedNode& node = sections[s][n];
            ask(mbt::nodePair(obj, sectionNo, static_cast<int>(n) + 1),
                node.xText + ";" + node.yText);
            if (n == 0) continue;
            const ScriptedNode& prev = sections[s][n - 1];
            ask(mbt::distance(prev.xText, prev.yText, node.xText, node.yText),
                node.distanceFromPrevious);
        }
    }
    ask(lengthQuery, lengthAnswer);
    return expected;
}

}  // namespace veltrano::testing
