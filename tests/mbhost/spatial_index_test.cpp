// The GeoPackage spatial index packed after a write: whole by SQLite's own check, finding
// what a scan finds, and kept up to date by its triggers afterwards.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "mbhost/storage/gdal_table_store.h"
#include "served_host.h"

namespace mbhost::gdal {
namespace {

struct IndexCase {
    const char* name;
    int rows;
    bool regions;
};

// Scattered against the fill order; every 13th row without an object. Objects within
// (k + 0.25, k + 0.79), not exact in the index's 32-bit floats, stay inside the unit square
// however those round, so that windows on whole numbers never graze one.
TableData scattered(const IndexCase& c) {
    TableData table;
    table.columns = {{"n", ColumnType::Integer, 0, 0}};
    table.coordSysClause = "Earth Projection 8, 104, \"m\", 15, 0, 0.9996, 500000, 0";
    for (int i = 0; i < c.rows; ++i) {
        Row row;
        row.fields = {Value::integer(i)};
        const double x = 500000 + (i * 7919 % 1000) + 0.5 + i % 7 / 200.0,
                     y = 100000 + (i * 104729 % 997) + 0.5 + i % 5 / 200.0;
        if (i % 13 != 12) {
            Geometry g = Geometry::point(x, y);
            if (c.regions) {
                g.type = ObjectType::Region;
                g.parts = {{{x - 0.25, y - 0.25}, {x + 0.25, y - 0.25}, {x, y + 0.25}}};
            }
            row.object = std::make_shared<const Geometry>(g);
        }
        table.rows.push_back(row);
    }
    return table;
}

std::string answer(GDALDataset& file, const std::string& sql) {
    OGRLayer* result = file.ExecuteSQL(sql.c_str(), nullptr, nullptr);
    if (!result) return "no answer to " + sql;
    OGRFeature* feature = result->GetNextFeature();
    const std::string text = feature ? feature->GetFieldAsString(0) : "no row";
    OGRFeature::DestroyFeature(feature);
    file.ReleaseResultSet(result);
    return text;
}

class gpkg_spatial_index : public ::testing::TestWithParam<IndexCase> {};

TEST_P(gpkg_spatial_index, is_whole_finds_what_a_scan_finds_and_follows_edits) {
    veltrano::testing::TempDir dir;
    const std::string path = dir.file("posts.gpkg");
    const TableData table = scattered(GetParam());
    GdalTableStore().write(table, path);
    std::unique_ptr<GDALDataset> file(
        GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
    ASSERT_TRUE(file);
    EXPECT_EQ(answer(*file, "SELECT rtreecheck('rtree_posts_geom')"), "ok");
    EXPECT_EQ(answer(*file,
                     "SELECT count(*) FROM posts p JOIN rtree_posts_geom r ON r.id = p.fid WHERE "
                     "ST_MinX(p.geom) >= r.minx AND ST_MaxX(p.geom) <= r.maxx AND "
                     "ST_MinY(p.geom) >= r.miny AND ST_MaxY(p.geom) <= r.maxy"),
              std::to_string(std::ranges::count_if(
                  table.rows, [](const Row& r) { return r.object != nullptr; })));
    for (const auto& [minX, minY, maxX, maxY] : {std::array{500100, 5000100, 500400, 5000700},
                                                 std::array{500000, 5000000, 501000, 5001000},
                                                 std::array{500997, 100000, 501000, 100002}}) {
        int scanned = 0;
        for (const Row& row : table.rows) {
            if (!row.object) continue;
            const Bounds b = row.object->bounds();
            scanned += b.minX > minX && b.maxX < maxX && b.minY > minY && b.maxY < maxY;
        }
        EXPECT_EQ(answer(*file, "SELECT count(*) FROM rtree_posts_geom WHERE minx > " +
                                    std::to_string(minX) + " AND maxx < " + std::to_string(maxX) +
                                    " AND miny > " + std::to_string(minY) + " AND maxy < " +
                                    std::to_string(maxY)),
                  std::to_string(scanned))
            << minX << " " << minY;
    }
    OGRLayer* layer = file->GetLayer(0);
    OGRFeature added(layer->GetLayerDefn());
    added.SetGeometryDirectly(new OGRPoint(600000.5, 200000.5));
    ASSERT_EQ(layer->CreateFeature(&added), OGRERR_NONE);
    EXPECT_EQ(answer(*file, "SELECT count(*) FROM rtree_posts_geom WHERE minx > 599999 AND id = " +
                                std::to_string(added.GetFID())),
              "1");
    EXPECT_EQ(answer(*file, "SELECT rtreecheck('rtree_posts_geom')"), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    , gpkg_spatial_index,
    ::testing::Values(IndexCase{"empty", 0, false}, IndexCase{"one_row", 1, false},
                      IndexCase{"one_full_leaf", 55, false}, IndexCase{"two_leaves", 56, false},
                      IndexCase{"three_levels", 3000, false}, IndexCase{"regions", 700, true}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace mbhost::gdal
