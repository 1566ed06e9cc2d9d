// Scripts a host that holds one object in a variable: answers the node, count, distance and
// length expressions with texts the test chooses, so the exact traffic can be checked.
#pragma once

#include <string>
#include <vector>

#include "support/scripted_automation.h"

namespace veltrano::testing {

inline const std::string kPicture = "\"#0.######################E+00\"";

// The expressions as the host sees them (written out here, independently of the engine).
inline std::string nodePairExpr(const std::string& obj, int s, int n) {
    const std::string sn = std::to_string(s) + ", " + std::to_string(n);
    return "format$(ObjectNodeX( " + obj + ", " + sn + ") ," + kPicture +
           ")  + \";\" + format$(ObjectNodeY( " + obj + ", " + sn + ") ," + kPicture + " )";
}
inline std::string countExpr(const std::string& obj, int code) {
    return "ObjectInfo( " + obj + ", " + std::to_string(code) + ") ";
}
inline std::string distanceExpr(const std::string& x1, const std::string& y1, const std::string& x2,
                                const std::string& y2) {
    return "Format$(Distance(" + x1 + ", " + y1 + ", " + x2 + "," + y2 + ",\"m\")," + kPicture +
           ")";
}
inline std::string lengthExpr(const std::string& obj) {
    return "Format$(ObjectLen(" + obj + ",\"m\")," + kPicture + ")";
}
inline std::string perimeterExpr(const std::string& obj) {
    return "Format$(Perimeter(" + obj + ",\"m\")," + kPicture + ")";
}
inline std::string lineEndExpr(const std::string& obj, int a, int b) {
    return "format$(ObjectGeography( " + obj + ", " + std::to_string(a) + ")," + kPicture +
           ") + \";\" + format$(ObjectGeography( " + obj + ", " + std::to_string(b) + ")," +
           kPicture + " )";
}

struct ScriptedNode {
    std::string xText;
    std::string yText;
    std::string distanceFromPrevious;  // the host's answer for the edge ending here
};

// Registers the answers for a polyline or region made of these sections and returns the
// requests the extraction must send, in order.
inline std::vector<Request> scriptSections(ScriptedAutomation& host, const std::string& table,
                                           const std::string& obj,
                                           const std::vector<std::vector<ScriptedNode>>& sections,
                                           const std::string& lengthQuery,
                                           const std::string& lengthAnswer) {
    std::vector<Request> expected{{"Do", "Set CoordSys Table " + table + " "}};
    host.answer(countExpr(obj, 21), std::to_string(sections.size()));
    expected.push_back({"Eval", countExpr(obj, 21)});
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int sectionNo = static_cast<int>(s) + 1;
        host.answer(countExpr(obj, 21 + sectionNo), std::to_string(sections[s].size()));
        expected.push_back({"Eval", countExpr(obj, 21 + sectionNo)});
        for (std::size_t n = 0; n < sections[s].size(); ++n) {
            const ScriptedNode& node = sections[s][n];
            const std::string pair = nodePairExpr(obj, sectionNo, static_cast<int>(n) + 1);
            host.answer(pair, node.xText + ";" + node.yText);
            expected.push_back({"Eval", pair});
            if (n == 0) continue;
            const ScriptedNode& prev = sections[s][n - 1];
            const std::string dist = distanceExpr(prev.xText, prev.yText, node.xText, node.yText);
            host.answer(dist, node.distanceFromPrevious);
            expected.push_back({"Eval", dist});
        }
    }
    host.answer(lengthQuery, lengthAnswer);
    expected.push_back({"Eval", lengthQuery});
    return expected;
}

}  // namespace veltrano::testing
