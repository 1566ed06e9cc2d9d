// Objects through GDAL's geometries, and column kinds through table files: what a file holds
// comes back as mbhost wrote it.
#include <gtest/gtest.h>

#include <ogr_geometry.h>

#include <memory>

#include "mbhost/number_format.h"
#include "mbhost/storage/gdal_table_store.h"
#include "mbhost/storage/ogr_conversion.h"
#include "support/temp_dir.h"

namespace mbhost::gdal {
namespace {

TEST(ogr_conversion, regions_keep_every_hole_and_texts_their_quoted_label) {
    OGRGeometry* polygon = nullptr;
    OGRGeometryFactory::createFromWkt(
        "POLYGON ((0 0,10 0,10 10,0 10,0 0),(1 1,2 1,2 2,1 1),(5 5,6 5,6 6,5 5))", nullptr,
        &polygon);
    const std::unique_ptr<OGRGeometry> owned(polygon);
    ASSERT_TRUE(polygon);
    const std::optional<Geometry> region = fromOgr(*polygon);
    ASSERT_TRUE(region);
    EXPECT_EQ(std::tuple(region->type, region->parts.size(), region->nodeCount()),
              std::tuple(ObjectType::Region, 3u, 10));
    Geometry text = Geometry::point(3, 4);
    text.type = ObjectType::Text;
    text.parts.front().push_back({5, 6});
    text.text = "say \"hi\" \\ Мост";
    const std::optional<Geometry> read = fromOgr(*toOgr(text), labelStyle(text));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tuple(read->type, read->text), std::tuple(ObjectType::Text, text.text));
}

// A kind the format lacks comes back as its nearest: TAB files hold no SmallInt or Logical a
// GDAL reads back, GeoPackages no decimal widths.
TEST(table_file, each_column_kind_comes_back_as_the_format_holds_it) {
    using K = ColumnType;
    const struct {
        ColumnDef written;
        Value value;
        K inTab, inGpkg;
    } rows[] = {{{"name", K::Char, 12, 0}, Value::text("Мост"), K::Char, K::Char},
                {{"id", K::Integer, 0, 0}, Value::integer(7), K::Integer, K::Integer},
                {{"lanes", K::SmallInt, 0, 0}, Value::integer(2), K::Integer, K::SmallInt},
                {{"len", K::Float, 0, 0}, Value::real(1.5), K::Float, K::Float},
                {{"cost", K::Decimal, 8, 2}, Value::real(3.25), K::Decimal, K::Float},
                {{"open", K::Logical, 0, 0}, Value::logical(true), K::Integer, K::Logical},
                {{"built", K::Date, 0, 0}, Value::date({20260102}), K::Date, K::Date}};
    TableData table;
    table.coordSysClause = "Earth Projection 1, 104";
    table.rows.emplace_back();
    table.rows[0].object = std::make_shared<const Geometry>(Geometry::point(37.6, 55.7));
    for (const auto& row : rows) {
        table.columns.push_back(row.written);
        table.rows[0].fields.push_back(row.value);
    }
    const veltrano::testing::TempDir dir;
    GdalTableStore store;
    for (const char* name : {"kinds.tab", "kinds.gpkg"}) {
        store.write(table, dir.file(name));
        const TableData read = store.open(dir.file(name));
        ASSERT_EQ(read.columns.size(), std::size(rows));
        ASSERT_EQ(read.rows.size(), 1u);
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            const ColumnDef &got = read.columns[i], &meant = rows[i].written;
            const K kind = name == std::string("kinds.tab") ? rows[i].inTab : rows[i].inGpkg;
            SCOPED_TRACE(std::string(name) + " " + meant.name);
            EXPECT_EQ(std::tuple(got.name, got.type), std::tuple(meant.name, kind));
            if (kind != meant.type) continue;
            EXPECT_EQ(std::tuple(got.width, got.decimals), std::tuple(meant.width, meant.decimals));
            EXPECT_EQ(valueText(read.rows[0].fields.at(i)), valueText(rows[i].value));
        }
    }
}

}  // namespace
}  // namespace mbhost::gdal
