// The workspace's own rules: queries and the selection, cursors, variables, objects kept in
// their table's system, table files, the host's chores, pictures and prints through the ports.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "session.h"
#include "workspace_dump.h"

namespace mbhost::testing {
namespace {

constexpr const char* kRefused = Session::kRefused;

TEST(select, numbers_query_rows_keeps_objects_and_aggregates_into_named_tables) {
    Session s;
    s.play({{"Select name, lanes * 10 \"tens\" From roads Where lanes = 0"},
            {"SelectionInfo(2)", "Query1"},
            {"SelectionInfo(3)", "2"},
            {"Fetch Last From Query1"},
            {"Query1.rowid", "2"},
            {"Query1.name", "Well"},
            {"Query1.tens", "0"},
            {"Str$(Query1.obj)", "Point"},
            {"ColumnInfo(Query1, COL2, 1)", "tens"},
            {"Select * From roads"},
            {"SelectionInfo(2)", "Query2"},  // the next name
            {"TableInfo(Selection, 8)", "4"},
            {"Select Count(*), Max(lanes) \"most\", Min(lanes), Sum(lanes), Avg(lanes) From "
             "roads Where lanes > 0 Into totals NoSelect"},
            {"SelectionInfo(3)", "4"},
            {"Fetch First From totals"},
            {"totals.COL1", "2"},
            {"totals.most", "4"},
            {"totals.COL3", "2"},
            {"totals.COL4", "6"},
            {"totals.COL5", "3"},
            {"Select name, Count(*) From roads", kRefused},
            {"Select * From plan Into roads", kRefused},
            {"Select * From plan Into q\r\nSelect * From roads Into q"},
            {"TableInfo(q, 8)", "4"},
            {"NumTables()", "10"}});
    EXPECT_NE(s.refuseEval("Count(*)"), "");
}

TEST(select, closing_the_base_table_clears_the_selection_with_its_queries) {
    Session s;
    s.play({{"Select * From fields\r\nMap From fields, roads\r\nClose Table fields"},
            {"SelectionInfo(3)", "0"},
            {"NumTables()", "5"},
            {"WindowInfo(1,1)", "fields,roads Map"},  // the title stays as made
            {"Close Table roads"},
            {"NumWindows()", "0"}});
}

TEST(cursor, fetch_moves_and_eot_reports_the_end) {
    Session s;
    s.play({{"Fetch Rec 3 From roads"},
            {"roads.name", "Park"},
            {"Fetch Prev From roads"},
            {"roads.rowid", "2"},
            {"Fetch Last From roads"},
            {"EOT(roads)", "F"},
            {"Fetch Next From roads"},
            {"EOT(roads)", "T"}});
    EXPECT_NE(s.refuseEval("roads.name"), "");
    // Deleted rows keep their ids and are skipped.
    s.play({{"Delete From roads Where RowID = 1\r\nFetch First From roads"},
            {"roads.rowid", "2"},
            {"TableInfo(roads, 8)", "3"},
            {"Fetch Rec 1 From roads"},
            {"EOT(roads)", "T"}});
}

TEST(variables, keep_their_type) {
    Session s;
    s.play({{"Dim i As Integer, t As String\r\nDim small As SmallInt\r\nDim ok As Logical"},
            {"i = 2.6\r\nt = 12.5\r\nok = 1 < 2"},
            {"i", "3"},
            {"t + \"!\"", "12.5!"},
            {"ok", "T"},
            {"small = 40000", kRefused},
            {"Undim i, t"},
            {"Not ok Or small = 0", "T"}});
    EXPECT_NE(s.refuseEval("i"), "");
}

TEST(objects, move_between_systems_when_inserted) {
    Session s;
    s.run("Dim o As Object\r\nSet CoordSys Table fields\r\no = CreatePoint(500000, 7000000)");
    s.run("Insert Into points (obj, distanceM) Values (o, 1)");
    const Row* row = s.host().workspace().tables.find("points")->row(1);
    ASSERT_NE(row, nullptr);
    EXPECT_NEAR(row->object->parts[0][0].x, 27.0, 1e-9);  // on the central meridian
    EXPECT_GT(row->object->parts[0][0].y, 63);
    s.run("Fetch First From points");
    EXPECT_NEAR(s.askNumber("ObjectGeography(points.obj, 1)"), 500000, 1e-6);
    EXPECT_NEAR(s.askNumber("ObjectGeography(points.obj, 2)"), 7000000, 1e-6);
    s.run("Set CoordSys Table points");
    EXPECT_NEAR(s.askNumber("ObjectNodeX(o, 1, 1)"), 27.0, 1e-9);
}

TEST(tables, created_by_statement) {
    Session s;
    s.play({{"Create Table marks (id Integer, note Char(8), price Decimal(8,2), seen Date, good "
             "Logical, size SmallInt, w Float)"},
            {"TableInfo(marks, 5)", "F"},
            {"TableInfo(marks, 7)", "T"},
            {"ColumnInfo(marks, price, 3)", "2"},
            {"ColumnInfo(marks, price, 4)", "8"},
            {"ColumnInfo(marks, price, 5)", "2"},
            {"Insert Into marks (obj) Values (CreatePoint(1, 2))", kRefused},
            {"Create Map For marks CoordSys Earth Projection 1, 104\r\nInsert Into marks (obj, id, "
             "price, seen, good) Values (CreatePoint(1, 2), 7, 3.14159, \"20260102\", 1)\r\nFetch "
             "First From marks"},
            {"marks.price", "3.14"},
            {"marks.seen", "20260102"},
            {"marks.good", "T"},
            {"TableInfo(marks, 29)", "CoordSys Earth Projection 1, 104"},
            {"Create Table marks (id Integer)", kRefused},
            {"Create Table dup (a Integer, A Float)", kRefused}});
}

TEST(rows, update_delete_and_insert) {
    Session s;
    s.play({{"Update roads Set lanes = lanes + 1, name = \"wide \" + name Where lanes >= 2"},
            {"TableInfo(roads, 9)", "T"},
            {"Fetch First From roads"},
            {"roads.lanes", "3"},
            {"roads.name", "wide Ring road"},
            {"Delete From roads Where lanes = 0"},
            {"TableInfo(roads, 8)", "2"},
            {"Insert Into roads Values (\"a name that is longer than twenty\", 5.4)"},
            {"Fetch Last From roads"},
            {"roads.name", "a name that is longe"},
            {"roads.lanes", "5"},
            {"Str$(roads.obj)", ""}});
}

// A table store in memory that can be told to fail.
class MemoryStore : public TableStore {
public:
    std::map<std::string, TableData> files;
    bool failWrites = false;

    TableData open(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) throw std::runtime_error("cannot open " + path + ": no such file");
        return it->second;
    }
    void write(const TableData& table, const std::string& path) override {
        if (failWrites) throw std::runtime_error("cannot write " + path + ": disk full");
        files[path] = table;
    }
};

TEST(table_files, open_commit_and_create_through_the_store) {
    Session s;
    auto store = std::make_shared<MemoryStore>();
    s.host().setTableStore(store);
    TableData& town = store->files["/maps/Town 1.TAB"];
    town.columns = {{"name", ColumnType::Char, 10, 0}};
    town.coordSysClause = "Earth Projection 1, 104";
    town.rows.push_back(Row{{Value::text("Tver")},
                            std::make_shared<const Geometry>(Geometry::point(35.9, 56.9)),
                            false});
    s.play({{"Open table \"/maps/Town 1.TAB\" "},
            {"TableInfo(7, 1) ", "Town_1"},
            {"TableInfo(Town_1, 19) ", "/maps/Town 1.TAB"},
            {"Open table \"/maps/Town 1.TAB\" As  second ReadOnly "},
            {"TableInfo(second, 6) ", "T"},
            {"Open table \"/maps/none.TAB\" View Automatic ", kRefused},
            {"Insert Into Town_1 (name) Values (\"Klin\")\r\nCommit Table Town_1"},
            {"TableInfo(Town_1, 9) ", "F"},
            {"Commit Table second As \"/maps/copy.TAB\""},
            {"Commit Table second", kRefused}});  // read-only
    EXPECT_EQ(store->files["/maps/Town 1.TAB"].rows.size(), 2u);
    EXPECT_EQ(store->files.count("/maps/copy.TAB"), 1u);

    store->failWrites = true;
    const std::string before = dumpWorkspace(s.host().workspace());
    EXPECT_EQ(s.refuseDo("Create Table fresh (a Integer) File \"/maps/fresh.TAB\""),
              "line 1, position 1, near 'Create': cannot write /maps/fresh.TAB: disk full");
    EXPECT_EQ(dumpWorkspace(s.host().workspace()), before);
    store->failWrites = false;
    s.play({{"Create Table fresh (a Integer) File \"/maps/fresh.TAB\""},
            {"TableInfo(fresh, 19)", "/maps/fresh.TAB"}});
}

TEST(host_chores, probe_windows_and_close_as_the_link_sends_them) {
    Session s;
    s.play({{"2*2", "4"}, {"SystemInfo(9)", std::to_string(kSampleMainWindow)}});
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
        fresh.play({{"NumTables()", "0"}, {"NumWindows()", "0"}, {"NumAllWindows()", "3"}});
    }
}

class RecordingRenderer : public MapRenderer {
public:
    std::vector<std::pair<MapSnapshot, std::string>> maps;
    void render(const MapSnapshot& map, const std::string& path) override {
        maps.emplace_back(map, path);
    }
};

TEST(ports, pictures_go_to_the_renderer_in_the_maps_system_and_prints_to_the_sink) {
    Session s;
    EXPECT_NE(s.refuseDo("Map From roads\r\nSave Window FrontWindow() As \"/tmp/x.png\""), "");
    auto renderer = std::make_shared<RecordingRenderer>();
    s.host().setMapRenderer(renderer);
    s.run(
        "Map From points, fields\r\nSet CoordSys Table points\r\nInsert Into points (obj) "
        "Values (CreatePoint(27, 63))\r\nSelect * From fields Where owner = \"North\"\r\n"
        "Save Window FrontWindow() As \"/tmp/map.png\" Width 4 Height 3 Resolution 50");
    for (const auto& [clauses, reason] : {std::pair{"Width -5 Height -3", "the width must be more"},
                                          {"Resolution -96", "the resolution must be more than 0"},
                                          {"Width 500", "1 to 16384 pixels a side"}}) {
        EXPECT_NE(
            s.refuseDo("Save Window 1 As \"/tmp/m.png\" " + std::string(clauses)).find(reason),
            std::string::npos);
    }
    ASSERT_EQ(renderer->maps.size(), 1u);
    const auto& [map, path] = renderer->maps[0];
    EXPECT_EQ(path, "/tmp/map.png");
    ASSERT_EQ(map.layers.size(), 2u);
    EXPECT_EQ(map.layers[0].name, "fields");  // bottom first
    EXPECT_EQ(map.layers[0].selected, (std::vector<bool>{true, false}));
    EXPECT_EQ(map.layers[1].selected, std::vector<bool>{false});  // row 1 of another table
    EXPECT_EQ(map.coordSysClause, "Earth Projection 1, 104");
    EXPECT_GT(map.view.maxX, map.view.minX);
    EXPECT_EQ(std::tuple(map.widthPixels, map.heightPixels), std::tuple(200, 150));

    std::vector<std::string> lines;
    s.host().setPrintSink([&](std::string_view line) { lines.emplace_back(line); });
    s.run("Print \"rows: \" + TableInfo(roads, 8)\r\nPrint 1.5 * 2");
    EXPECT_EQ(lines, (std::vector<std::string>{"rows: 4", "3"}));
}

}  // namespace
}  // namespace mbhost::testing
