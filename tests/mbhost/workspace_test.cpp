// The workspace's own rules: queries and the selection, cursors, variables, objects kept in
// their table's system, table files and pictures through the ports.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "session.h"
#include "workspace_dump.h"

namespace mbhost::testing {
namespace {

TEST(select, numbers_query_rows_keeps_objects_and_aggregates_into_named_tables) {
    Session s;
    s.run("Select name, lanes * 10 \"tens\" From roads Where lanes = 0");
    s.expect({{"SelectionInfo(2)", "Query1"}, {"SelectionInfo(3)", "2"}});
    s.run("Fetch Last From Query1");
    s.expect({{"Query1.rowid", "2"},
              {"Query1.name", "Well"},
              {"Query1.tens", "0"},
              {"Str$(Query1.obj)", "Point"},
              {"ColumnInfo(Query1, COL2, 1)", "tens"}});
    s.run("Select * From roads");  // the next query gets the next name
    s.expect({{"SelectionInfo(2)", "Query2"}, {"TableInfo(Selection, 8)", "4"}});
    s.run(
        "Select Count(*), Max(lanes) \"most\", Min(lanes), Sum(lanes), Avg(lanes) From roads Where "
        "lanes > 0 Into totals NoSelect");
    EXPECT_EQ(s.ask("SelectionInfo(3)"), "4");  // NoSelect left the selection alone
    s.run("Fetch First From totals");
    s.expect({{"totals.COL1", "2"},
              {"totals.most", "4"},
              {"totals.COL3", "2"},
              {"totals.COL4", "6"},
              {"totals.COL5", "3"}});
    EXPECT_NE(s.refuseDo("Select name, Count(*) From roads"), "");
    EXPECT_NE(s.refuseEval("Count(*)"), "");
    EXPECT_NE(s.refuseDo("Select * From plan Into roads"), "");
    s.run("Select * From plan Into q");
    s.run("Select * From roads Into q");
    EXPECT_EQ(s.ask("TableInfo(q, 8)"), "4");
    EXPECT_EQ(s.ask("NumTables()"), "10");  // two queries, totals and q
}

TEST(selection, closing_its_base_table_clears_it_with_its_queries) {
    Session s;
    s.run("Select * From fields");
    s.run("Map From fields, roads");
    s.run("Close Table fields");
    s.expect({{"SelectionInfo(3)", "0"}, {"NumTables()", "5"}});
    EXPECT_EQ(s.ask("WindowInfo(1,1)"), "fields,roads Map");  // the title stays as made
    s.run("Close Table roads");
    EXPECT_EQ(s.ask("NumWindows()"), "0");
}

TEST(cursor, fetch_moves_and_eot_reports_the_end) {
    Session s;
    s.run("Fetch Rec 3 From roads");
    EXPECT_EQ(s.ask("roads.name"), "Park");
    s.run("Fetch Prev From roads");
    EXPECT_EQ(s.ask("roads.rowid"), "2");
    s.run("Fetch Last From roads");
    EXPECT_EQ(s.ask("EOT(roads)"), "F");
    s.run("Fetch Next From roads");
    EXPECT_EQ(s.ask("EOT(roads)"), "T");
    EXPECT_NE(s.refuseEval("roads.name"), "");
    s.run("Delete From roads Where RowID = 1");
    s.run("Fetch First From roads");
    EXPECT_EQ(s.ask("roads.rowid"), "2");  // deleted rows keep their ids and are skipped
    EXPECT_EQ(s.ask("TableInfo(roads, 8)"), "3");
    s.run("Fetch Rec 1 From roads");
    EXPECT_EQ(s.ask("EOT(roads)"), "T");
}

TEST(variables, keep_their_type) {
    Session s;
    s.run("Dim i As Integer, t As String\r\nDim small As SmallInt\r\nDim ok As Logical");
    s.run("i = 2.6\r\nt = 12.5\r\nok = 1 < 2");
    s.expect({{"i", "3"}, {"t + \"!\"", "12.5!"}, {"ok", "T"}});
    EXPECT_NE(s.refuseDo("small = 40000"), "");
    s.run("Undim i, t");
    EXPECT_NE(s.refuseEval("i"), "");
    EXPECT_EQ(s.ask("Not ok Or small = 0"), "T");
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

TEST(objects, created_by_statement_and_function) {
    Session s;
    s.run("Set CoordSys Table plan\r\nDim o As Object");
    s.run("Create Line Into Variable o (0, 0) (3, 4)");
    s.expect({{"Str$(o)", "Line"}, {"ObjectLen(o, \"m\")", "5"}});
    s.run("o = CreateLine(1, 2, 3, 4)");
    EXPECT_EQ(s.ask("ObjectGeography(o, 4)"), "4");
    s.run("Create Point Into Variable o (7, 8) Symbol (35, 0, 12)");
    EXPECT_EQ(s.ask("ObjectInfo(o, 1)"), "5");
    s.run("Create Pline Into Variable o 3 (0, 0) (1, 0) (1, 1) Pen (1, 2, 0)");
    EXPECT_EQ(s.ask("ObjectInfo(o, 20)"), "3");
    EXPECT_NE(s.refuseDo("Create Pline Into Variable o 3 (0, 0) (1, 0)"), "");
    EXPECT_NE(s.refuseDo("Create Pline Into Variable o 1 (0, 0)"), "");
}

TEST(rows, update_and_delete_by_condition) {
    Session s;
    s.run("Update roads Set lanes = lanes + 1, name = \"wide \" + name Where lanes >= 2");
    EXPECT_EQ(s.ask("TableInfo(roads, 9)"), "T");
    s.run("Fetch First From roads");
    s.expect({{"roads.lanes", "3"}, {"roads.name", "wide Ring road"}});
    s.run("Delete From roads Where lanes = 0");
    EXPECT_EQ(s.ask("TableInfo(roads, 8)"), "2");
    s.run("Insert Into roads Values (\"a name that is longer than twenty\", 5.4)");
    s.run("Fetch Last From roads");
    s.expect(
        {{"roads.name", "a name that is longe"}, {"roads.lanes", "5"}, {"Str$(roads.obj)", ""}});
}

TEST(tables, create_in_memory_and_make_mappable) {
    Session s;
    s.run(
        "Create Table marks (id Integer, note Char(8), price Decimal(8,2), seen Date, good "
        "Logical, size SmallInt, w Float)");
    s.expect({{"TableInfo(marks, 5)", "F"},
              {"TableInfo(marks, 7)", "T"},
              {"ColumnInfo(marks, price, 3)", "2"},
              {"ColumnInfo(marks, price, 4)", "8"},
              {"ColumnInfo(marks, price, 5)", "2"}});
    EXPECT_NE(s.refuseDo("Insert Into marks (obj) Values (CreatePoint(1, 2))"), "");
    s.run("Create Map For marks CoordSys Earth Projection 1, 104");
    s.run(
        "Insert Into marks (obj, id, price, seen, good) Values (CreatePoint(1, 2), 7, 3.14159, "
        "\"20260102\", 1)");
    s.run("Fetch First From marks");
    s.expect({{"marks.price", "3.14"},
              {"marks.seen", "20260102"},
              {"marks.good", "T"},
              {"TableInfo(marks, 29)", "CoordSys Earth Projection 1, 104"}});
    EXPECT_NE(s.refuseDo("Create Table marks (id Integer)"), "");
    EXPECT_NE(s.refuseDo("Create Table dup (a Integer, A Float)"), "");
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
    TableData town;
    town.columns = {{"name", ColumnType::Char, 10, 0}};
    town.coordSysClause = "Earth Projection 1, 104";
    town.rows.push_back(Row{{Value::text("Tver")},
                            std::make_shared<const Geometry>(Geometry::point(35.9, 56.9)),
                            false});
    store->files["/maps/Town 1.TAB"] = town;
    s.run("Open table \"/maps/Town 1.TAB\" ");
    s.expect({{"TableInfo(7, 1) ", "Town_1"}, {"TableInfo(Town_1, 19) ", "/maps/Town 1.TAB"}});
    s.run("Open table \"/maps/Town 1.TAB\" As  second ReadOnly ");
    EXPECT_EQ(s.ask("TableInfo(second, 6) "), "T");
    EXPECT_NE(s.refuseDo("Open table \"/maps/none.TAB\" View Automatic "), "");

    s.run("Insert Into Town_1 (name) Values (\"Klin\")\r\nCommit Table Town_1");
    EXPECT_EQ(store->files["/maps/Town 1.TAB"].rows.size(), 2u);
    EXPECT_EQ(s.ask("TableInfo(Town_1, 9) "), "F");
    s.run("Commit Table second As \"/maps/copy.TAB\"");
    EXPECT_EQ(store->files.count("/maps/copy.TAB"), 1u);
    EXPECT_NE(s.refuseDo("Commit Table second"), "");  // read-only

    store->failWrites = true;
    const std::string before = dumpWorkspace(s.host().workspace());
    EXPECT_EQ(s.refuseDo("Create Table fresh (a Integer) File \"/maps/fresh.TAB\""),
              "line 1, position 1, near 'Create': cannot write /maps/fresh.TAB: disk full");
    EXPECT_EQ(dumpWorkspace(s.host().workspace()), before);
    store->failWrites = false;
    s.run("Create Table fresh (a Integer) File \"/maps/fresh.TAB\"");
    EXPECT_EQ(s.ask("TableInfo(fresh, 19)"), "/maps/fresh.TAB");
}

class RecordingRenderer : public MapRenderer {
public:
    std::vector<MapSnapshot> maps;
    std::vector<std::string> paths;
    void render(const MapSnapshot& map, const std::string& path) override {
        maps.push_back(map);
        paths.push_back(path);
    }
};

TEST(pictures, save_window_hands_the_renderer_the_map_in_its_own_system) {
    Session s;
    EXPECT_NE(s.refuseDo("Map From roads\r\nSave Window FrontWindow() As \"/tmp/x.png\""), "");
    auto renderer = std::make_shared<RecordingRenderer>();
    s.host().setMapRenderer(renderer);
    s.run(
        "Map From points, fields\r\nSet CoordSys Table points\r\nInsert Into points (obj) Values "
        "(CreatePoint(27, 63))");
    s.run("Save Window FrontWindow() As \"/tmp/map.png\"");
    ASSERT_EQ(renderer->maps.size(), 1u);
    const MapSnapshot& map = renderer->maps[0];
    EXPECT_EQ(renderer->paths[0], "/tmp/map.png");
    ASSERT_EQ(map.layers.size(), 2u);
    EXPECT_EQ(map.layers[0].name, "fields");  // bottom first
    EXPECT_EQ(map.layers[1].objects.size(), 1u);
    EXPECT_EQ(map.coordSysClause, "Earth Projection 1, 104");
    EXPECT_GT(map.view.maxX, map.view.minX);
    EXPECT_GT(map.widthPixels, 0);
}

TEST(print, goes_to_the_sink) {
    Session s;
    std::vector<std::string> lines;
    s.host().setPrintSink([&](std::string_view line) { lines.emplace_back(line); });
    s.run("Print \"rows: \" + TableInfo(roads, 8)\r\nPrint 1.5 * 2");
    EXPECT_EQ(lines, (std::vector<std::string>{"rows: 4", "3"}));
}

}  // namespace
}  // namespace mbhost::testing
