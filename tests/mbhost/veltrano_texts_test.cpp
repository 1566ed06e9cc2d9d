// The texts of the placement and of the host's chores, byte for byte, against a workspace
// holding a longitude/latitude, a projected (transverse Mercator) and a NonEarth table. The
// host link's and the dialog's texts, and the points and labels written, run on mbhost from
// their own code in their own tests.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "engine/mapbasic_texts.h"
#include "reference_geodesy.h"
#include "session.h"

namespace mbhost::testing {
namespace {

namespace mbt = mapbasic_text;
const std::string kObj = "qzv123456";

// The source tables, each with the row of each object kind it holds (0: none).
struct Source {
    const char* label;
    const char* table;
    SampleSystem system;
    const char* clause;
    int rows[3];  // line, polyline, region
};

const Source kSources[] = {
    {"lat/long", "roads", SampleSystem::LatLong, "CoordSys Earth Projection 1, 104", {2, 1, 3}},
    {"UTM",
     "fields",
     SampleSystem::Utm,
     "CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0",
     {0, 1, 2}},
    {"NonEarth",
     "plan",
     SampleSystem::NonEarth,
     "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)",
     {1, 2, 0}},
};

const Geometry& sourceObject(Session& s, const Source& src, int row) {
    return *s.host().workspace().tables.find(src.table)->row(row)->object;
}

// A host number text: the shortest digits, one before the point, a signed two-digit exponent.
double readHostNumberText(const std::string& text) {
    static const std::regex shape("-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,3}|0E\\+00");
    EXPECT_TRUE(std::regex_match(text, shape)) << "[" << text << "] is not a host number text";
    return std::strtod(text.c_str(), nullptr);
}

std::pair<std::string, std::string> splitPair(const std::string& answer) {
    const auto semi = answer.find(';');
    EXPECT_NE(semi, std::string::npos) << answer;
    return {answer.substr(0, semi), answer.substr(semi + 1)};
}

TEST(host_connection_texts, probe_windows_and_close) {
    Session s;
    s.expect({{"2*2", "4"}, {"SystemInfo(9)", std::to_string(kSampleMainWindow)}});
    EXPECT_GT(std::stol(s.ask("SystemInfo(17)")), 0);
    for (const char* text :
         {"Set Application Window 4660", "Set Application Window 4660 ", "Set Application Window 0",
          "Alter ButtonPad  \"Main\" show ", "Alter ButtonPad  \"Drawing\" show ",
          "StatusBar  Hide ", "Run Menu Command 616 ", "Set Window 1011 max "}) {
        s.run(text);
    }
    EXPECT_EQ(s.host().workspace().applicationWindow, 0);
    EXPECT_FALSE(s.host().workspace().statusBarShown);
    EXPECT_EQ(s.host().workspace().lastMenuCommand, 616);
    s.run("End MapInfo Interactive ");
    EXPECT_TRUE(s.host().ended());
    for (const char* text : {"Close All  Interactive ", "Close All "}) {
        Session fresh;
        fresh.run("Map From roads");
        fresh.run(text);
        fresh.expect({{"NumTables()", "0"}, {"NumWindows()", "0"}, {"NumAllWindows()", "3"}});
    }
}

// The extraction's texts for one object: coordinates exact, distances against the reference;
// returns the sum of the node distances.
double extractNodes(Session& s, const Source& src, const Geometry& g) {
    const bool line = g.type == ObjectType::Line;
    if (!line) {
        EXPECT_EQ(s.ask(mbt::count(kObj, 21)), std::to_string(g.parts.size()));
    }
    double total = 0;
    for (std::size_t k = 0; k < g.parts.size(); ++k) {
        const auto& nodes = g.parts[k];
        const int sec = static_cast<int>(k) + 1;
        if (!line) {
            EXPECT_EQ(s.ask(mbt::count(kObj, 21 + sec)), std::to_string(nodes.size()));
        }
        std::string px, py;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            const int i = static_cast<int>(n);
            const auto [x, y] = splitPair(s.ask(line ? mbt::lineEnd(kObj, 2 * i + 1, 2 * i + 2)
                                                     : mbt::nodePair(kObj, sec, i + 1)));
            EXPECT_EQ(readHostNumberText(x), nodes[n].x);
            EXPECT_EQ(readHostNumberText(y), nodes[n].y);
            if (n > 0) {
                const double d = readHostNumberText(s.ask(mbt::distance(px, py, x, y)));
                EXPECT_NEAR(d, referenceDistance(src.system, nodes[n - 1], nodes[n]), 1e-6);
                total += d;
            }
            px = x;
            py = y;
        }
    }
    return total;
}

// setPointsOnLine's texts up to the geometry, then the geometry, for one selected row.
void placeOnRow(Session& s, const Source& src, int row) {
    s.run("Select * From " + std::string(src.table) + " Where RowID = " + std::to_string(row));
    s.expect({{"SelectionInfo( 3) ", "1"},
              {"SelectionInfo( 2)", "Query1"},
              {"TableInfo(Query1,1) ", "Query1"},
              {"Tableinfo(Query1, 29) ", src.clause},
              {"ColumnInfo(points, distanceM ,1) ", "distanceM"},
              {"ColumnInfo(points, xRowId ,1) ", "xRowId"}});
    s.run("fetch first From Query1");
    EXPECT_FALSE(s.refuseEval("ColumnInfo(labels, distanceM ,1) ").empty());
    EXPECT_EQ(s.ask("Query1.rowId"), "1");
    s.run("dim " + kObj + " as Object ");
    s.run(kObj + "=Query1.obj ");
    const Geometry& g = sourceObject(s, src, row);
    EXPECT_EQ(s.ask("ObjectInfo(" + kObj + ", 1) "), std::to_string(static_cast<int>(g.type)));
    s.run("Set CoordSys Table Query1 ");
    const double nodes = extractNodes(s, src, g);
    if (g.type == ObjectType::Region) {
        double closing = 0;
        for (const auto& ring : g.parts)
            closing += referenceDistance(src.system, ring.back(), ring.front());
        EXPECT_NEAR(readHostNumberText(s.ask(mbt::perimeter(kObj))), nodes + closing, 1e-6);
    } else {
        EXPECT_NEAR(readHostNumberText(s.ask(mbt::length(kObj))), nodes, 1e-9 * nodes);
    }
}

TEST(placement_texts, geometry_of_every_kind_in_every_system) {
    for (const Source& src : kSources) {
        for (int row : src.rows) {
            if (row == 0) continue;
            SCOPED_TRACE(std::string(src.label) + " row " + std::to_string(row));
            Session s;
            placeOnRow(s, src, row);
            s.run("undim " + kObj + " ");
            EXPECT_EQ(s.host().workspace().variables.count(kObj), 0u);
        }
    }
}

}  // namespace
}  // namespace mbhost::testing
