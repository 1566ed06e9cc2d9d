// Every MapBasic text that Veltrano composes, byte for byte, against a workspace holding a
// longitude/latitude table, a projected (transverse Mercator) table and a NonEarth table.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "reference_geodesy.h"
#include "session.h"

namespace mbhost::testing {
namespace {

const std::string kPic = "\"#0.######################E+00\"";

struct Exchange {
    std::string text;
    std::string answer;
};

void expectAnswers(Session& s, const std::vector<Exchange>& rows) {
    for (const auto& row : rows)
        EXPECT_EQ(s.ask(row.text), row.answer) << "Eval of [" << row.text << "]";
}

// The source tables, each with the row of each object kind it holds (0: none).
struct Source {
    const char* label;
    const char* table;
    SampleSystem system;
    const char* clause;
    int lineRow;
    int polylineRow;
    int regionRow;
};

const Source kSources[] = {
    {"lat/long", "roads", SampleSystem::LatLong, "CoordSys Earth Projection 1, 104", 2, 1, 3},
    {"UTM", "fields", SampleSystem::Utm,
     "CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0", 0, 1, 2},
    {"NonEarth", "plan", SampleSystem::NonEarth,
     "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", 1, 2, 0},
};

const Geometry& sourceObject(Session& s, const Source& src, int row) {
    return *s.host().workspace().tables.find(src.table)->row(row)->object;
}

// A host number text: the shortest digits, one before the point, a signed two-digit exponent.
void expectHostNumberText(const std::string& text) {
    static const std::regex shape("-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,3}|0E\\+00");
    EXPECT_TRUE(std::regex_match(text, shape)) << "[" << text << "] is not a host number text";
}

std::pair<std::string, std::string> splitPair(const std::string& answer) {
    const auto semi = answer.find(';');
    EXPECT_NE(semi, std::string::npos) << answer;
    return {answer.substr(0, semi), answer.substr(semi + 1)};
}

double read(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// Selects one row of a source table, as the user would, making Query1 the selection.
void selectRow(Session& s, const Source& src, int row) {
    s.run("Select * From " + std::string(src.table) + " Where RowID = " + std::to_string(row));
}

// ---- host connection ----

TEST(host_connection_texts, probe_and_system_information) {
    Session s;
    expectAnswers(s, {{"2*2", "4"}, {"SystemInfo(9)", std::to_string(kSampleMainWindow)}});
    EXPECT_GT(std::stol(s.ask("SystemInfo(17)")), 0);
}

TEST(host_connection_texts, application_window_statements) {
    Session s;
    for (const char* text : {"Set Application Window 4660", "Set Application Window 4660 ",
                             "Set Application Window 0"}) {
        s.run(text);
    }
    EXPECT_EQ(s.host().workspace().applicationWindow, 0);
    EXPECT_NO_THROW(s.host().runMenuCommand(616));
}

TEST(host_connection_texts, close_all_and_end) {
    for (const char* text : {"Close All  Interactive ", "Close All "}) {
        Session s;
        s.run("Map From roads");
        s.run(text);
        EXPECT_EQ(s.ask("NumTables()"), "0") << text;
        EXPECT_EQ(s.ask("NumWindows()"), "0") << text;
        EXPECT_EQ(s.ask("NumAllWindows()"), "3") << text;
    }
    Session s;
    s.run("End MapInfo Interactive ");
    EXPECT_TRUE(s.host().ended());
}

// ---- table information ----

TEST(table_information_texts, attributes_of_every_table) {
    Session s;
    expectAnswers(s, {
                         {"NumTables()", "6"},
                         {"SelectionInfo( 3) ", "0"},
                         {"TableInfo(1,1) ", "roads"},
                         {"TableInfo(2,1) ", "fields"},
                         {"TableInfo(3,1) ", "plan"},
                         {"TableInfo(roads,2) ", "1"},
                         {"TableInfo(plan,2) ", "3"},
                         {"TableInfo(roads,3) ", "1"},
                         {"TableInfo(roads,4) ", "2"},
                         {"TableInfo(labels,4) ", "0"},
                         {"TableInfo(roads,8) ", "4"},
                         {"TableInfo(points,8) ", "0"},
                         {"TableInfo(roads,19) ", "/data/roads.TAB"},
                         {"TableInfo(roads,5) ", "T"},
                         {"TableInfo(roads,6) ", "F"},
                         {"TableInfo(archive,6) ", "T"},
                         {"TableInfo(roads,7) ", "F"},
                         {"TableInfo(roads,25) ", "37"},
                         {"TableInfo(roads,26) ", "55"},
                         {"TableInfo(roads,27) ", "37.71"},
                         {"TableInfo(roads,28) ", "55.73"},
                     });
    for (const Source& src : kSources) {
        EXPECT_EQ(s.ask("TableInfo(" + std::string(src.table) + ",29) "), src.clause);
    }
}

TEST(table_information_texts, row_count_by_scratch_query) {
    Session s;
    const std::string path = s.ask("TempFileName$(\"\")");
    ASSERT_FALSE(path.empty());
    const std::string scratch = s.ask("PathToTableName$(\"" + path + "\" ) ");
    ASSERT_FALSE(scratch.empty());
    EXPECT_EQ(scratch.find_first_not_of(
                  "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"),
              std::string::npos);
    for (const Source& src : kSources) {
        s.run("select Count(*) from " + std::string(src.table) + " into " + scratch + " Noselect ");
        s.run("Fetch first from " + scratch);
        EXPECT_EQ(s.ask("Str$(" + scratch + ".COL1)"),
                  s.ask("TableInfo(" + std::string(src.table) + ",8) "));
        s.run("close table " + scratch);
    }
    EXPECT_EQ(s.ask("SelectionInfo( 3) "), "0");  // Noselect left the selection alone
    EXPECT_EQ(s.ask("NumTables()"), "6");
}

TEST(table_information_texts, selection_by_criterion_into_a_named_table) {
    Session s;
    s.run("select * from \"roads\" where lanes > 1  into sel1 ");
    expectAnswers(s, {{"TableInfo(sel1,5) ", "T"},
                      {"TableInfo(sel1,8) ", "2"},
                      {"TableInfo(sel1,3) ", "2"},
                      {"TableInfo(sel1,7) ", "T"},
                      {"SelectionInfo( 3) ", "2"},
                      {"TableInfo(Selection,1) ", "sel1"}});
}

// ---- windows ----

TEST(window_texts, census_of_map_browser_and_button_pads) {
    Session s;
    s.run("Map From roads");
    s.run("Browse * From fields");
    const std::string map = s.ask("WindowId(1)");
    const std::string browser = s.ask("WindowId(2)");
    expectAnswers(s, {{"NumWindows()", "2"},
                      {"NumAllWindows()", "5"},
                      {"FrontWindow()", browser},
                      {"WindowId(FrontWindow() )", browser},
                      {"WindowId(0)", "0"},
                      {"WindowInfo(1,1)", "roads Map"},
                      {"WindowInfo(1,3)", "1"},
                      {"WindowInfo(2,1)", "fields Browser"},
                      {"WindowInfo(2,3)", "2"},
                      {"WindowInfo(-1,1)", "Main"},
                      {"WindowInfo(-1,3)", "19"},
                      {"WindowInfo(-2,3)", "19"},
                      {"WindowInfo(-3,3)", "19"},
                      {"WindowInfo(1,9)", "0"},
                      {"MapperInfo(" + map + ",11) ", "mi"}});
    for (int i = -3; i <= 2; ++i) {
        if (i == 0) continue;
        const std::string n = std::to_string(i);
        EXPECT_NE(s.ask("WindowId(" + n + ")"), "0");
        EXPECT_GT(s.askNumber("WindowInfo(" + n + ",12)"), 0);
        EXPECT_GT(s.askNumber("WindowInfo(" + n + ",4)"), 0);
        EXPECT_GT(s.askNumber("WindowInfo(" + n + ",5)"), 0);
        EXPECT_GE(s.askNumber("WindowInfo(" + n + ",6)"), 0);
    }
    s.run("Set CoordSys  Window " + map + " ");
    EXPECT_NEAR(s.askNumber("MapperInfo(" + map + ",3)"), (37.0 + 37.71) / 2, 1e-9);
    EXPECT_NEAR(s.askNumber("MapperInfo(" + map + ",4)"), (55.0 + 55.73) / 2, 1e-9);
    EXPECT_GT(s.askNumber("MapperInfo(" + map + ",2)"), 0);
}

TEST(window_texts, view_chores) {
    Session s;
    for (const char* text :
         {"Alter ButtonPad  \"Main\" show ", "Alter ButtonPad  \"Drawing\" show ",
          "StatusBar  Hide ", "Run Menu Command 616 ", "Set Window 1011 max "}) {
        s.run(text);
    }
    EXPECT_FALSE(s.host().workspace().statusBarShown);
    EXPECT_EQ(s.host().workspace().lastMenuCommand, 616);
}

TEST(window_texts, fit_map_to_each_table) {
    for (const Source& src : kSources) {
        SCOPED_TRACE(src.label);
        Session s;
        s.run("Map From " + std::string(src.table));
        const std::string w = s.ask("FrontWindow()");
        s.run("set coordsys window " + w + " ");
        s.run(
            "Select Min(ObjectGeography( obj,1)) \"X1\",Max(ObjectGeography( obj,3)) \"X2\","
            "Min(ObjectGeography( obj,2)) \"Y1\",Max(ObjectGeography( obj,4)) \"Y2\" from \"" +
            std::string(src.table) + "\" into temp001 noselect ");
        const double x1 = s.askNumber("temp001.X1"), x2 = s.askNumber("temp001.X2");
        const double y1 = s.askNumber("temp001.Y1"), y2 = s.askNumber("temp001.Y2");
        Bounds expected = sourceObject(s, src, 1).bounds();
        for (int row = 2; row <= s.host().workspace().tables.find(src.table)->lastRowId(); ++row) {
            const Bounds b = sourceObject(s, src, row).bounds();
            expected = {std::min(expected.minX, b.minX), std::min(expected.minY, b.minY),
                        std::max(expected.maxX, b.maxX), std::max(expected.maxY, b.maxY)};
        }
        EXPECT_DOUBLE_EQ(x1, expected.minX);
        EXPECT_DOUBLE_EQ(x2, expected.maxX);
        EXPECT_DOUBLE_EQ(y1, expected.minY);
        EXPECT_DOUBLE_EQ(y2, expected.maxY);
        const std::string units = s.ask("MapperInfo(" + w + "," + "11" + ") ");
        EXPECT_EQ(units, "mi");
        s.run("set map window " + w + " center ( 12.5, 40.25) zoom  7.5 Units \"" + units + "\" ");
        if (src.system != SampleSystem::Utm) {  // UTM centre read back after a conversion
            EXPECT_DOUBLE_EQ(s.askNumber("MapperInfo(" + w + ",3)"), 12.5);
            EXPECT_DOUBLE_EQ(s.askNumber("MapperInfo(" + w + ",4)"), 40.25);
        }
        EXPECT_DOUBLE_EQ(s.askNumber("MapperInfo(" + w + ",1)"), 7.5);
        s.run("set map window " + w + " center ( 1, 2) ");
        s.run("Close table temp001");
        EXPECT_EQ(s.ask("NumTables()"), "6");
    }
}

// ---- placement along one object, its geometry, and points at distances ----

// What objToArray sends for a line; checks coordinates, the distance and the length.
void extractLine(Session& s, const Source& src, const Geometry& line) {
    const std::string pair1 = s.ask(
        "format$(ObjectGeography( qzv123456, 1),\"#0.######################E+00\") + \";\" + "
        "format$(ObjectGeography( qzv123456, 2),\"#0.######################E+00\" )");
    const std::string pair2 = s.ask(
        "format$(ObjectGeography( qzv123456, 3),\"#0.######################E+00\") + \";\" + "
        "format$(ObjectGeography( qzv123456, 4),\"#0.######################E+00\" )");
    const auto [x1, y1] = splitPair(pair1);
    const auto [x2, y2] = splitPair(pair2);
    for (const auto& t : {x1, y1, x2, y2}) expectHostNumberText(t);
    const Point a = line.parts[0][0], b = line.parts[0][1];
    EXPECT_EQ(read(x1), a.x);
    EXPECT_EQ(read(y1), a.y);
    EXPECT_EQ(read(x2), b.x);
    EXPECT_EQ(read(y2), b.y);
    const std::string d = s.ask("Format$(Distance(" + x1 + ", " + y1 + ", " + x2 + "," + y2 +
                                ",\"m\"),\"#0.######################E+00\")");
    expectHostNumberText(d);
    EXPECT_NEAR(read(d), referenceDistance(src.system, a, b), 1e-6);
    EXPECT_EQ(s.ask("Format$(ObjectLen(qzv123456,\"m\"),\"#0.######################E+00\")"), d);
}

// What objToArray sends for a polyline or region; returns the sum of node distances.
double extractSections(Session& s, const Source& src, const Geometry& g) {
    EXPECT_EQ(s.ask("ObjectInfo( qzv123456, 21) "), std::to_string(g.parts.size()));
    double total = 0;
    for (std::size_t k = 0; k < g.parts.size(); ++k) {
        const auto& nodes = g.parts[k];
        const std::string sec = std::to_string(k + 1);
        EXPECT_EQ(s.ask("ObjectInfo( qzv123456, " + std::to_string(22 + k) + ") "),
                  std::to_string(nodes.size()));
        std::string px, py;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            const std::string node = std::to_string(n + 1);
            const auto [x, y] =
                splitPair(s.ask("format$(ObjectNodeX( qzv123456, " + sec + ", " + node +
                                ") ,\"#0.######################E+00\")  + \";\" + "
                                "format$(ObjectNodeY( qzv123456, " +
                                sec + ", " + node + ") ,\"#0.######################E+00\" )"));
            expectHostNumberText(x);
            expectHostNumberText(y);
            EXPECT_EQ(read(x), nodes[n].x);
            EXPECT_EQ(read(y), nodes[n].y);
            if (n > 0) {
                const double d = read(s.ask("Format$(Distance(" + px + ", " + py + ", " + x + "," +
                                            y + ",\"m\"),\"#0.######################E+00\")"));
                EXPECT_NEAR(d, referenceDistance(src.system, nodes[n - 1], nodes[n]), 1e-6);
                total += d;
            }
            px = x;
            py = y;
        }
    }
    return total;
}

// The closing edges a region's perimeter adds to its node distances.
double closingEdges(const Source& src, const Geometry& region) {
    double total = 0;
    for (const auto& ring : region.parts)
        total += referenceDistance(src.system, ring.back(), ring.front());
    return total;
}

// setPointsOnLine's texts up to the geometry, then the geometry, for one selected row.
void placeOnRow(Session& s, const Source& src, int row) {
    selectRow(s, src, row);
    EXPECT_EQ(s.ask("SelectionInfo( 3) "), "1");
    const std::string sel = s.ask("SelectionInfo( 2)");
    EXPECT_EQ(sel, "Query1");
    s.run("fetch first From " + sel);
    const std::string tab = s.ask("TableInfo(" + sel + "," + "1" + ") ");
    EXPECT_EQ(tab, sel);
    EXPECT_EQ(s.ask("Tableinfo(" + tab + ", 29) "), src.clause);
    EXPECT_EQ(s.ask("ColumnInfo(points, distanceM ,1) "), "distanceM");
    EXPECT_EQ(s.ask("ColumnInfo(points, xRowId ,1) "), "xRowId");
    EXPECT_FALSE(s.refuseEval("ColumnInfo(labels, distanceM ,1) ").empty());
    EXPECT_EQ(s.ask(tab + ".rowId"), "1");
    s.run("dim qzv123456 as Object ");
    s.run("qzv123456=" + tab + ".obj ");
    const Geometry& g = sourceObject(s, src, row);
    EXPECT_EQ(s.ask("ObjectInfo(qzv123456, 1) "), std::to_string(static_cast<int>(g.type)));
    s.run("Set CoordSys Table " + tab + " ");
    if (g.type == ObjectType::Line) {
        extractLine(s, src, g);
        return;
    }
    const double nodes = extractSections(s, src, g);
    if (g.type == ObjectType::Polyline) {
        const double len =
            read(s.ask("Format$(ObjectLen(qzv123456,\"m\"),\"#0.######################E+00\")"));
        EXPECT_NEAR(len, nodes, 1e-9 * nodes);
    } else {
        const double perimeter =
            read(s.ask("Format$(Perimeter(qzv123456,\"m\"),\"#0.######################E+00\")"));
        EXPECT_NEAR(perimeter, nodes + closingEdges(src, g), 1e-6);
    }
}

TEST(placement_texts, geometry_of_every_kind_in_every_system) {
    for (const Source& src : kSources) {
        for (int row : {src.lineRow, src.polylineRow, src.regionRow}) {
            if (row == 0) continue;
            SCOPED_TRACE(std::string(src.label) + " row " + std::to_string(row));
            Session s;
            placeOnRow(s, src, row);
            s.run("undim qzv123456 ");
            EXPECT_EQ(s.host().workspace().variables.count("qzv123456"), 0u);
        }
    }
}

TEST(placement_texts, points_and_labels_written_in_the_output_tables) {
    for (const Source& src : kSources) {
        SCOPED_TRACE(src.label);
        Session s;
        placeOnRow(s, src, src.polylineRow);
        const Point a = sourceObject(s, src, src.polylineRow).parts[0][0];
        const Point b = sourceObject(s, src, src.polylineRow).parts[0][1];
        // pointsAlongObject
        s.run("Set CoordSys Table Query1 ");
        EXPECT_EQ(s.ask("Tableinfo(Query1, 29) "), src.clause);
        char x[64], y[64];
        std::snprintf(x, sizeof x, "%.15g", (a.x + b.x) / 2);
        std::snprintf(y, sizeof y, "%.15g", (a.y + b.y) / 2);
        char ax[64], ay[64];
        std::snprintf(ax, sizeof ax, "%.15g", a.x);
        std::snprintf(ay, sizeof ay, "%.15g", a.y);
        const std::string d = s.ask("format$(Distance (" + std::string(ax) + ", " + ay + ", " + x +
                                    ", " + y + ", \"m\" ),\"#0.######################E+00\")");
        expectHostNumberText(d);
        EXPECT_NEAR(
            read(d),
            referenceDistance(src.system, a, {std::strtod(x, nullptr), std::strtod(y, nullptr)}),
            1e-6);
        // setPointsOnLine, one point with both columns, one label without
        s.run("Set coordsys table Query1 \r\nqzv123456=createPoint( " + std::string(x) + ", " + y +
              " )");
        s.run("Insert into points ( obj, distanceM, xRowId ) Values ( qzv123456, 25, 1 ) ");
        s.run("Insert into labels ( obj ) Values ( qzv123456 ) ");
        s.run("Create Text into Variable qzv123456 \"M = 25\\nRowID = 1\" (" + std::string(x) +
              ", " + y + " ) ( " + x + ", " + y + " )  ");
        EXPECT_EQ(s.ask("Str$(qzv123456)"), "Text");
        EXPECT_EQ(s.ask("ObjectInfo(qzv123456, 3)"), "M = 25\\nRowID = 1");
        s.run("Insert into labels (obj) Values (qzv123456) ");
        s.run("undim qzv123456 ");
        expectAnswers(s, {{"TableInfo(points,8) ", "1"}, {"TableInfo(labels,8) ", "2"}});
        // The point is stored in the output table's system and reads back where it was put.
        s.run("Fetch First From points");
        EXPECT_EQ(s.ask("points.distanceM"), "25");
        EXPECT_EQ(s.ask("points.xRowId"), "1");
        if (src.system != SampleSystem::NonEarth) {
            EXPECT_NEAR(s.askNumber("ObjectGeography(points.obj, 1)"), std::strtod(x, nullptr),
                        1e-6);
            EXPECT_NEAR(s.askNumber("ObjectGeography(points.obj, 2)"), std::strtod(y, nullptr),
                        1e-6);
        }
    }
}

// ---- placement command and selection summary ----

TEST(placement_command_texts, walk_the_selection) {
    Session s;
    s.run("Select * From roads Where lanes >= 2");
    EXPECT_EQ(s.ask("SelectionInfo( 3) "), "2");
    const std::string sel = s.ask("SelectionInfo( 2)");
    s.run("fetch first From " + sel);
    EXPECT_EQ(s.ask("Str$(" + sel + ".obj)"), "Polyline");
    EXPECT_EQ(s.ask("EOT(" + sel + ") "), "F");
    s.run("fetch next From " + sel);
    EXPECT_EQ(s.ask("Str$(" + sel + ".obj)"), "Line");
    EXPECT_EQ(s.ask(sel + ".rowId"), "2");
    EXPECT_EQ(s.ask("EOT(" + sel + ") "), "F");
    s.run("fetch next From " + sel);
    EXPECT_EQ(s.ask("EOT(" + sel + ") "), "T");
}

TEST(selection_summary_texts, describe_each_selected_object) {
    for (const Source& src : kSources) {
        SCOPED_TRACE(src.label);
        Session s;
        s.run("Select * From " + std::string(src.table));
        const std::string sel = s.ask("SelectionInfo( 2)");
        EXPECT_EQ(s.ask("SelectionInfo( 1)"), src.table);
        EXPECT_EQ(s.ask("TableInfo(" + sel + ",29) "), src.clause);
        s.run("fetch first from " + sel);
        const int rows = std::stoi(s.ask("SelectionInfo( 3) "));
        for (int i = 1; i <= rows; ++i) {
            const Geometry& g = sourceObject(s, src, i);
            const std::string type = s.ask("Str$(" + sel + ".obj)");
            EXPECT_EQ(type, objectTypeName(g.type));
            if (type == "Region" || type == "Polyline") {
                EXPECT_EQ(s.ask("ObjectInfo(" + sel + ".obj, 20)"), std::to_string(g.nodeCount()));
                EXPECT_EQ(s.ask("ObjectInfo(" + sel + ".obj, 21)"), std::to_string(g.parts.size()));
            }
            if (type == "Region") {
                EXPECT_GT(s.askNumber("Perimeter(" + sel + ".obj, \"m\") "), 0);
            } else if (type == "Polyline" || type == "Line") {
                EXPECT_GT(s.askNumber("ObjectLen(" + sel + ".obj, \"m\") "), 0);
            }
            s.run("fetch next from " + sel);
            EXPECT_EQ(s.ask("EOT(" + sel + ")"), i == rows ? "T" : "F");
        }
    }
}

}  // namespace
}  // namespace mbhost::testing
