// The same points either way: the placement run over the MapBasic texts (mbhost in this
// process) and over mbhost's tables directly, on the same selection, must place every point
// at the same place with the same distance and row id, and report the same counts.
#include <gtest/gtest.h>

#include <gdal_utils.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "automation/inprocess/inprocess_automation.h"
#include "direct/direct_placement.h"
#include "mbhost/storage/gdal_table_store.h"
#include "placement/mapbasic_selection.h"
#include "workload/placement_workspace.h"

namespace veltrano::testing {
namespace {

constexpr const char* kNonEarthClause = "NonEarth Units \"m\" Bounds (-1E7, -1E7) (1E7, 1E7)";

struct Placed {
    PlacementReport report;
    std::vector<mbhost::Row> rows;
};

class both_adapters : public ::testing::Test {
protected:
    void open(const std::string& clause, std::vector<mbhost::GeometryPtr> objects) {
        mbhost::TableData t;
        t.name = "Source";
        t.coordSysClause = clause;
        t.columns = {{"n", mbhost::ColumnType::Integer, 0, 0}};
        for (auto& object : objects) {
            mbhost::Row row;
            row.fields = {mbhost::Value::integer(static_cast<std::int64_t>(t.rows.size() + 1))};
            row.object = std::move(object);
            t.rows.push_back(std::move(row));
        }
        host->addTable(std::move(t));
        select("Source", clause);
    }
    // The rows of table selected (by where), two empty output tables in its system.
    void select(const std::string& table, const std::string& clause,
                const std::string& where = {}) {
        host->addTable(pointTable("TextOut", clause, true));
        host->addTable(pointTable("DirectOut", clause, true));
        host->execute("Select * From " + table + (where.empty() ? "" : " Where " + where));
    }

    Placed byText(std::vector<double> distances, bool fromEnd) {
        PlacementSession session(std::make_shared<InProcessAutomation>(host));
        MapBasicSelection selection(&session.link(), mapBasicEngine({messages}));
        return run(selection, distances, fromEnd, "TextOut");
    }
    Placed direct(std::vector<double> distances, bool fromEnd) {
        TableRowSink sink(*host, "DirectOut");
        DirectPlacement selection(*host, sink, messages);
        return run(selection, distances, fromEnd, "DirectOut");
    }
    Placed run(SelectionWalk& selection, std::vector<double>& distances, bool fromEnd,
               const std::string& output) {
        const PlacementOrder order{distances, output, [fromEnd] { return fromEnd; }};
        Placed result{placeSelection(selection, order, messages), {}};
        for (const auto& row : host->workspace().tables.find(output)->data().rows) {
            if (!row.deleted) result.rows.push_back(row);
        }
        return result;
    }

    // Both ways, from the start and from the end: the same rows, the same reports.
    void expectSamePoints(const std::vector<double>& distances, std::size_t atLeast = 1) {
        for (const bool fromEnd : {false, true}) {
            SCOPED_TRACE(fromEnd ? "from the end" : "from the start");
            const Placed text = byText(distances, fromEnd);
            const Placed other = direct(distances, fromEnd);
            EXPECT_EQ(messages.texts, std::vector<std::string>{});
            EXPECT_EQ(text.report.outcome, PlacementOutcome::Placed);
            EXPECT_EQ(other.report.outcome, text.report.outcome);
            ASSERT_EQ(other.report.objects.size(), text.report.objects.size());
            for (std::size_t i = 0; i < text.report.objects.size(); ++i) {
                EXPECT_EQ(other.report.objects[i].placed, text.report.objects[i].placed) << i;
                EXPECT_EQ(other.report.objects[i].computed, text.report.objects[i].computed) << i;
            }
            ASSERT_EQ(other.rows.size(), text.rows.size());
            EXPECT_GE(text.rows.size(), atLeast);
            const auto& cs = *host->workspace().tables.find("TextOut")->coordSys();
            for (std::size_t i = 0; i < text.rows.size(); ++i) {
                const mbhost::Row& a = text.rows[i];
                const mbhost::Row& b = other.rows[i];
                EXPECT_EQ(b.fields[0].number(), a.fields[0].number()) << "distance, row " << i;
                EXPECT_EQ(b.fields[1].asInteger(), a.fields[1].asInteger()) << "row id, row " << i;
                const mbhost::Point p = a.object->parts.at(0).at(0);
                const mbhost::Point q = b.object->parts.at(0).at(0);
                EXPECT_LE(host->measurer().distance(cs, p, q), 1e-6)
                    << "row " << i << ": " << p.x << ", " << p.y << " and " << q.x << ", " << q.y;
            }
            host->execute("Delete From TextOut");
            host->execute("Delete From DirectOut");
        }
    }

    static mbhost::GeometryPtr object(mbhost::ObjectType type, Sections parts) {
        mbhost::Geometry g;
        g.type = type;
        g.parts = std::move(parts);
        return std::make_shared<const mbhost::Geometry>(std::move(g));
    }
    // Lines of several sections, each a generated line of its own.
    template <class Make>
    std::vector<mbhost::GeometryPtr> polylines(Make make, int count, int sections) {
        std::uniform_real_distribution<double> lengthKm(2, 80);
        std::vector<mbhost::GeometryPtr> out;
        for (int i = 0; i < count; ++i) {
            Sections parts;
            for (int s = 0; s < sections; ++s) parts.push_back(make(lengthKm(rng) * 1000, 12)[0]);
            out.push_back(object(mbhost::ObjectType::Polyline, std::move(parts)));
        }
        return out;
    }
    static std::vector<double> every(double step, double end) {
        std::vector<double> out;
        for (double d = step; d < end; d += step) out.push_back(d);
        return out;
    }

    std::shared_ptr<mbhost::Host> host = std::make_shared<mbhost::Host>();
    MessageLog messages;
    std::mt19937_64 rng{20261207};
};

TEST_F(both_adapters, place_the_same_points_on_generated_polylines) {
    const struct {
        const char* clause;
        Sections (*make)(std::mt19937_64&, double, int);
    } rows[] = {{kLatLongClause, randomLatLongLine},
                {kUtmClause, randomUtmLine},
                {kNonEarthClause, randomUtmLine}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.clause);
        host = std::make_shared<mbhost::Host>();
        open(row.clause, polylines([&](double m, int n) { return row.make(rng, m, n); }, 6, 3));
        // Duplicates, nothing to place (0, negative) and beyond every line among them.
        std::vector<double> distances = every(7300, 250000);
        distances.insert(distances.end(), {0, -5, 7300, 1e7});
        expectSamePoints(distances, 50);
    }
}

// Lines 500 m long (a 3-4-5 triangle's hypotenuse): a distance on the end places nothing, one
// on a node places the node; a line of one segment and a polyline of two.
TEST_F(both_adapters, place_the_same_points_up_to_the_end_exactly) {
    open(kNonEarthClause,
         {object(mbhost::ObjectType::Line, {{{0, 0}, {300, 400}}}),
          object(mbhost::ObjectType::Polyline, {{{10, 10}, {310, 410}}, {{0, 0}, {0, 500}}})});
    expectSamePoints({100, 250, 500, 500, 1000});
}

// Squares with a hole (the hole is a section of its own), in a projected and a lat/long table.
TEST_F(both_adapters, place_the_same_points_around_regions_with_holes) {
    for (const char* clause : {kUtmClause, kLatLongClause}) {
        SCOPED_TRACE(clause);
        host = std::make_shared<mbhost::Host>();
        const bool degrees = std::string(clause) == kLatLongClause;
        const double x = degrees ? -20 : 500000, y = degrees ? 64 : 7100000;
        const double side = degrees ? 0.5 : 40000, hole = side / 4;
        open(
            clause,
            {object(
                mbhost::ObjectType::Region,
                {{{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}},
                 {{x + hole, y + hole}, {x + hole, y + 2 * hole}, {x + 2 * hole, y + 2 * hole}}})});
        expectSamePoints(every(3100, 200000), 20);
    }
}

// Natural Earth's countries (world-atlas), lat/long: real boundaries of many sections.
TEST_F(both_adapters, place_the_same_points_along_real_boundaries) {
    const std::string copy = ::testing::TempDir() + "veltrano-differential-countries.gpkg";
    std::filesystem::remove(copy);
    {
        mbhost::gdal::GdalTableStore registersDrivers;
        const char* arguments[] = {"-a_srs", "EPSG:4326", nullptr};
        auto* options = GDALVectorTranslateOptionsNew(const_cast<char**>(arguments), nullptr);
        GDALDatasetH source = GDALOpenEx(WORLD_ATLAS, GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        ASSERT_NE(source, nullptr);
        GDALClose(GDALVectorTranslate(copy.c_str(), nullptr, 1, &source, options, nullptr));
        GDALVectorTranslateOptionsFree(options);
        GDALClose(source);
    }
    host->setTableStore(std::make_shared<mbhost::gdal::GdalTableStore>());
    host->execute("Open Table \"" + copy + "\" Layer \"countries\" As World ReadOnly");
    const std::string clause = host->workspace().tables.find("World")->data().coordSysClause;
    select("World", clause,
           "name = \"Italy\" Or name = \"Indonesia\" Or name = \"South Africa\" Or "
           "name = \"Chile\" Or name = \"Norway\"");
    expectSamePoints(every(150000, 30000000), 100);
    std::filesystem::remove(copy);
}

}  // namespace
}  // namespace veltrano::testing
