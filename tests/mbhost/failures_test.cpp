// A text mbhost cannot run sets LastErrorCode and a message naming what is wrong and where,
// raises the host failure, and leaves the workspace exactly as it was.
#include <gtest/gtest.h>

#include "mbhost/diagnostics.h"
#include "mbhost/lexer.h"
#include "session.h"
#include "workspace_dump.h"

namespace mbhost::testing {
namespace {

struct Refusal {
    bool statement;  // Do rather than Eval
    std::string text;
    std::int32_t code;
    std::string message;
};

// A workspace with some state to lose: a selection, a variable, a window, a cursor moved.
Session busySession() {
    Session s;
    s.run("Select * From roads Where lanes > 1");
    s.run("Dim qzv000001 As Object\r\nqzv000001 = Query1.obj\r\nDim d As Float\r\nd = 2.5");
    s.run("Map From roads, fields");
    s.run("Fetch Last From roads");
    s.run("Set CoordSys Table fields");
    return s;
}

// Updates that fail half way through their rows, and texts made to break a parser, among them.
TEST(failures, each_sets_code_and_message_and_changes_nothing) {
    std::string chain = "1";
    for (int i = 0; i < 5000; ++i) chain += "+1";
    const std::vector<Refusal> refusals = {
        {false, "TableInfo(roadz,1)", errc::kTableNotOpen,
         "line 1, position 11, near 'roadz': Table roadz is not open"},
        {true, "Insert Into roadz (obj) Values (qzv000001)", errc::kTableNotOpen,
         "line 1, position 13, near 'roadz': Table roadz is not open"},
        {false, "ColumnInfo(points, distanceZ ,1) ", errc::kColumnNotFound,
         "line 1, position 20, near 'distanceZ': Column distanceZ not found in table points"},
        {true, "Insert into points ( obj, distanceZ ) Values ( qzv000001, 1 ) ",
         errc::kColumnNotFound,
         "line 1, position 1, near 'Insert': Column distanceZ not found in table points"},
        {false, "distanceM * 2", errc::kUndefinedName,
         "line 1, position 1, near 'distanceM': Variable or Field distanceM not defined"},
        {true, "nothere = 1", errc::kUndefinedName,
         "line 1, position 1, near 'nothere': Variable or Field nothere not defined"},
        {false, "Lenght(\"abc\")", errc::kUnknownFunction,
         "line 1, position 1, near 'Lenght': Unrecognized function: Lenght"},
        {true, "Inset into points ( obj ) Values ( qzv000001 )", errc::kUnrecognizedCommand,
         "line 1, position 1, near 'Inset': Unrecognized command: Inset"},
        {false, "(1 + 2", errc::kSyntax,
         "line 1, position 7, near 'end of statement': Expected ')'"},
        {true, "Insert into points ( obj Values ( qzv000001 )", errc::kSyntax,
         "line 1, position 26, near 'Values': Expected ')'"},
        {false, "1 + Distance(1, 2, 3, 4)", errc::kArgumentCount,
         "line 1, position 5, near 'Distance': Wrong number of arguments for Distance: 4 given, 5 "
         "expected"},
        {false, "Distance(\"a\", 55, 37, 55, \"m\")", errc::kTypeMismatch,
         "line 1, position 10, near '\"a\"': Type mismatch: Distance x1 needs a number, not a "
         "string"},
        {true, "d = \"x\"", errc::kTypeMismatch,
         "line 1, position 1, near 'd': Type mismatch: Variable d needs a number, not a string"},
        {true, "Insert Into archive (obj) Values (qzv000001)", errc::kReadOnlyTable,
         "line 1, position 13, near 'archive': Table archive is read-only"},
        {true, "Insert Into Query1 (obj) Values (qzv000001)", errc::kReadOnlyTable,
         "line 1, position 13, near 'Query1': Table Query1 is read-only"},
        {false, "ObjectLen(qzv000001, \"furlong\")", errc::kArgumentRange,
         "line 1, position 1, near 'ObjectLen': Unrecognized distance unit: furlong"},
        {false, "ObjectNodeX(qzv000001, 1, 9)", errc::kArgumentRange,
         "line 1, position 1, near 'ObjectNodeX': ObjectNodeX: section 1 has no node 9 (it has 3)"},
        {true, "Dim d As Float", errc::kAlreadyDefined,
         "line 1, position 1, near 'Dim': Variable d already defined"},
        {true, "Undim d, nothere", errc::kUndefinedName,
         "line 1, position 1, near 'Undim': Variable or Field nothere not defined"},
        {true, "Set CoordSys Earth Projection 9999, 104", errc::kCoordSys,
         "line 1, position 1, near 'Set': Invalid coordinate system: Earth Projection 9999, 104: "
         "unknown projection 9999"},
        {true, "Set CoordSys Earth Units \"m\"", errc::kCoordSys, ""},
        {true, "d = 7\r\nd = (", errc::kSyntax,
         "line 2, position 6, near 'end of statement': Expected an expression"},
        {false, "1 + .5e400", errc::kOverflow,
         "line 1, position 5, near '.5e400': Number out of range: .5e400"},
        {false, "1 / (d - 2.5)", errc::kDivisionByZero,
         "line 1, position 3, near '/': Division by zero"},
        {true, "Open table \"/data/x.TAB\" ", errc::kNoPort, ""},
        {true, std::string("Print 1 \0 2", 11), errc::kSyntax,
         "line 1, position 9, near '\xEF\xBF\xBD': Unexpected character"},
        {false, "d + \xC3", errc::kUndefinedName,
         "line 1, position 5, near '\xEF\xBF\xBD': Variable or Field \xEF\xBF\xBD not defined"},
        // The fourth row's name is too long for no column, but its lanes cannot take a string.
        {true,
         "Update roads Set lanes = lanes + 1, name = \"x\" + name Where RowID < 3 Or name = "
         "\"Well\" And lanes = \"a\"",
         errc::kTypeMismatch, ""},
        // This one fails on row 2.
        {true, "Update roads Set lanes = 2147483647 / (4 - lanes)", errc::kDivisionByZero, ""},
        {false, std::string(5000, '(') + "1", errc::kLimit, ""},
        {false, chain, errc::kLimit, ""},
        {false, "\"unterminated", errc::kSyntax, ""},
        {false, std::string(kMaxSourceLength + 1, ' '), errc::kLimit, ""},
        {true, "Print \x01", errc::kSyntax, ""},
        {false, "Format$(1, \"" + std::string(100000, '#') + "\")" + std::string(3, ')'),
         errc::kSyntax, ""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.text.substr(0, 80));
        Session s = busySession();
        const std::string before = dumpWorkspace(s.host().workspace());
        const std::string message = r.statement ? s.refuseDo(r.text) : s.refuseEval(r.text);
        EXPECT_EQ(s.host().lastErrorCode(), r.code);
        if (!r.message.empty()) {
            EXPECT_EQ(message, r.message);
        }
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(dumpWorkspace(s.host().workspace()), before);
    }
}

}  // namespace
}  // namespace mbhost::testing
