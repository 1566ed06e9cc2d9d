// The language: tiny expressions with the answers MapBasic gives for them.
#include <gtest/gtest.h>

#include "session.h"

namespace mbhost::testing {
namespace {

TEST(expressions, answer_as_mapbasic_does) {
    Session().play({
        {"1 + 2 * 3", "7"},
        {"(1 + 2) * 3", "9"},
        {"7 / 2", "3.5"},
        {"7 \\ 2", "3"},
        {"-7 \\ 2", "-3"},
        {"7 Mod 3", "1"},
        {"-2 * -3", "6"},
        {".5 + 1.5E+02", "150.5"},
        {"2147483647 + 1", "2147483648"},
        {"\"a\" + \"b\" & 1", "ab1"},
        {"\"say \"\"hi\"\"\"", "say \"hi\""},
        {"\"ABC\" = \"abc\"", "T"},
        {"\"Chile\" Like \"ch%\"", "T"},
        {"(\"Москва\" Like \"_оск%а\") & (\"Chile\" Like \"%l_\") & (\"ab\" Like \"a\")", "TTF"},
        {"\"\" Like \"%\" And Not \"abc\" Like \"%b\" And \"a%b\" Like \"a%%b\"", "T"},
        {"1 < 2 And Not 2 < 1", "T"},
        {"1 > 2 Or 3 <= 3", "T"},
        {"2 <> 2", "F"},
        {"STR$(1.25)", "1.25"},
        {"Chr$(65) + Chr$(1080)", "A\xd0\xb8"},
        {"Val(\" 12.5abc\")", "12.5"},
        {"Val(\"x\")", "0"},
        {"Val(\"1.5E2\")", "150"},
        {"Left$(\"abcdef\", 2) + Mid$(\"abcdef\", 3, 2) + Right$(\"abcdef\", 1)", "abcdf"},
        {"UCase$(\"ab\") + LCase$(\"CD\") + LTrim$(\"  e\") + RTrim$(\"f  \")", "ABcdef"},
        {"Len(\"hello\")", "5"},
        {"Right$(\"ab\", 5)", "ab"},
        {"Round(2.345, 0.01)", "2.35"},
        {"Int(-2.5)", "-3"},
        {"Fix(-2.5)", "-2"},
        {"Abs(-4)", "4"},
        {"Sqr(16)", "4"},
        {"Maximum(3, 8) - Minimum(3, 8)", "5"},
        {"tableinfo(ROADS, 1)", "roads"},
        {"PathToTableName$(\"C:\\maps\\2020 roads.tab\")", "_2020_roads"},
        {"Len(Format$(1.5, \"0." + std::string(1000, '0') + "\"))", "42"},
    });
}

// Text functions count characters of UTF-8, never bytes: Cyrillic (2 bytes), accented Latin
// and a 4-byte character, and a Char column that must not cut one in half.
TEST(expressions, text_functions_count_characters) {
    Session s;
    s.play({
        {"Dim t As String\nt = \"Мир\"\nCreate Table names (n Char(4))\n"
         "Insert Into names (n) Values (\"Straße\")\nInsert Into names (n) Values (\"Ёлка🌲\")"},
        {"Len(t) + Len(\"é\") + Len(\"🌲\")", "5"},
        {"Left$(\"Москва\", 3) + \"|\" + Right$(\"Москва\", 2) + \"|\" + Mid$(\"Москва\", 2, 3)",
         "Мос|ва|оск"},
        {"Mid$(\"aé🌲b\", 3, 2) + Mid$(t, 4, 1) + Left$(t, 0)", "🌲b"},
        {"Asc(\"Ж\") + Asc(\"🌲\") + Asc(\"\")", "128840"},
        {"Chr$(1046) + Chr$(127794)", "Ж🌲"},
        {"InStr(1, \"Ёлка ёлка\", \"лка\") + InStr(3, \"Ёлка ёлка\", \"лка\") * 10", "72"},
        {"InStr(1, \"Ёлка\", \"Л\") + InStr(9, \"Ёлка\", \"\")", "0"},
        {"Fetch First From names"},
        {"names.n", "Stra"},
        {"Fetch Next From names"},
        {"names.n", "Ёлка"},
    });
    EXPECT_NE(s.refuseEval("Chr$(55296)"), "");
}

// Objects made by statement and function, read on the plan's plane, where numbers are plain.
TEST(expressions, objects_are_made_and_read_by_statements_and_functions) {
    Session s;
    s.play({{"Set CoordSys Table plan\r\nDim o As Object\r\nCreate Pline Into Variable o "
             "Multiple 2 3 (10, 0) (0, 0) (10, 10) 2 (20, 0) (20, 30)"},
            {"ObjectInfo(o, 21) & ObjectInfo(o, 22) & ObjectInfo(o, 23)", "232"},
            {"CentroidX(o) & \",\" & CentroidY(o)", "10,15"},
            {"ObjectGeography(o, 1) & ObjectGeography(o, 2) & ObjectGeography(o, 4)", "0030"},
            {"o = CreateLine(1, 2, 3, 4)"},
            {"ObjectGeography(o, 1) & ObjectGeography(o, 2) & ObjectGeography(o, 3) & "
             "ObjectGeography(o, 4)",
             "1234"},
            {"Create Line Into Variable o (0, 0) (3, 4)"},
            {"ObjectLen(o, \"m\")", "5"},
            {"Create Point Into Variable o (7, 8) Symbol (35, 0, 12)"},
            {"ObjectInfo(o, 1)", "5"},
            {"Create Pline Into Variable o 3 (0, 0) (1, 0) (1, 1) Pen (1, 2, 0)"},
            {"ObjectInfo(o, 20)", "3"},
            {"Create Pline Into Variable o 3 (0, 0) (1, 0)", Session::kRefused},
            {"Create Pline Into Variable o 1 (0, 0)", Session::kRefused},
            {"Create Region Into Variable o 1 4 (0, 0) (0, 10) (10, 10) (10, 0)"},
            {"Area(o, \"sq m\")", "100"},
            {"ColumnInfo(plan, label, 2)", "1"}});
}

TEST(statements, several_in_one_text_separated_by_line_ends_in_any_case) {
    Session s;
    s.run(
        "Dim a As Integer\r\n\r\na = 1\r\nA = a + 1\na = A * 10\r\nDIM o AS OBJECT\r\n"
        "set COORDSYS table PLAN\r\nCREATE line INTO variable o (0, 0) (6, 8)\r\n"
        "fetch FIRST from ROADS\r\n");
    s.play({{"a", "20"}, {"objectlen(O, \"M\")", "10"}, {"Roads.Name", "Ring road"}});
    EXPECT_EQ(s.refuseDo("a = 1\r\na = 2\r\nSelect From"),
              "line 3, position 8, near 'From': Expected a column list");
    EXPECT_EQ(s.ask("a"), "20");  // the text did not parse, so nothing ran
}

}  // namespace
}  // namespace mbhost::testing
