// veltrano-batch --input on files of every format: the output read back with GDAL and each
// point checked against PROJ's geodesics, not mbhost's; faults and signals leave no output.
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <geodesic.h>
#include <geos_c.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>

#include "reference_geodesy.h"
#include "served_host.h"
#include "support/gdal_files.h"
#include "support/shell_run.h"

namespace veltrano::testing {
namespace {
using mbhost::Point;
using mbhost::testing::referenceDistance;
using mbhost::testing::SampleSystem;
using Sections = std::vector<std::vector<Point>>;
namespace fs = std::filesystem;

// Standard error only; limits set first, a command run after a while when named (the run is $!).
ShellRun batch(const std::string& arguments, const std::string& meanwhile = "",
               const std::string& limits = "") {
    const std::string run = "'" VELTRANO_BATCH_PATH "' " + arguments + " 2>&1 >/dev/null";
    return runShell(limits + (meanwhile.empty()
                                  ? "exec " + run
                                  : run + " & sleep 0.8; " + meanwhile + "; wait $!"));
}

// A table of name, code and object, written through a CSV of WKT.
void writeTable(const std::string& path, int epsg, const std::string& rows) {
    std::ofstream(path + ".csv") << "WKT,name,code\n" << rows;
    translate(path + ".csv", path, epsg);
}

// The paths the host walks: each line, each ring without its closing node.
void addSections(const OGRGeometry& geometry, Sections& out, bool ring = false) {
    const auto type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbLineString) {
        out.emplace_back();
        for (const auto& node : *geometry.toSimpleCurve())
            out.back().push_back({node.getX(), node.getY()});
        if (ring) out.back().pop_back();
    } else if (type == wkbPolygon) {
        for (const auto* edge : *geometry.toPolygon()) addSections(*edge, out, true);
    } else if (type != wkbPoint) {
        for (const auto* part : *geometry.toGeometryCollection()) addSections(*part, out);
    }
}

// The point d metres along: on a lat/long segment where the geodesic from its start is as
// long, on a projected one at the linear fraction of its geodesic length.
std::vector<std::pair<double, Point>> expectedPoints(Sections sections, bool fromEnd,
                                                     const std::vector<double>& distances,
                                                     SampleSystem system) {
    if (fromEnd) {
        std::reverse(sections.begin(), sections.end());
        for (auto& section : sections) std::reverse(section.begin(), section.end());
    }
    std::vector<std::pair<double, Point>> points;
    double start = 0;
    for (const auto& nodes : sections) {
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            const Point a = nodes[i - 1], b = nodes[i];
            const auto at = [&](double t) {
                return Point{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
            };
            const double end = start + referenceDistance(system, a, b);
            for (double d : distances) {
                if (d < start || d >= end) continue;
                double low = 0, high = 1, f = (d - start) / (end - start);
                for (int k = 0; system == SampleSystem::LatLong && k < 60; ++k) {
                    f = (low + high) / 2;
                    (referenceDistance(system, a, at(f)) < d - start ? low : high) = f;
                }
                points.push_back({d, at(f)});
            }
            start = end;
        }
    }
    return points;
}

std::vector<double> every(double step, double start, double end = 1e7) {
    std::vector<double> list;
    for (double d = start; d <= end; d += step) list.push_back(d);
    return list;
}

// Checks every output row against the selected source rows, named by their key column's
// values (kept) in the file's order.
void checkRun(const std::string& input, const std::string& output, const std::string& arguments,
              const char* key, const std::vector<std::string>& selected,
              const std::vector<double>& distances, SampleSystem system, double tolerance = 1e-3) {
    SCOPED_TRACE(arguments + " -> " + output);
    const auto [status, err] =
        batch("--input '" + input + "' --output '" + output + "' " + arguments);
    ASSERT_EQ(status, 0) << err;
    const DatasetPtr source = openVector(input), placed = openVector(output);
    std::vector<std::pair<int, std::pair<double, Point>>>
        expected;  // the source row's place in the selection
    for (auto& feature : *source->GetLayer(0)) {
        const auto place =
            std::find(selected.begin(), selected.end(), feature->GetFieldAsString(key));
        if (place == selected.end()) continue;
        Sections sections;
        addSections(*feature->GetGeometryRef(), sections);
        for (const auto& point : expectedPoints(
                 sections, arguments.find("--from-end") != std::string::npos, distances, system)) {
            expected.emplace_back(static_cast<int>(place - selected.begin()), point);
        }
    }
    OGRLayer& points = *placed->GetLayer(0);
    ASSERT_EQ(points.GetFeatureCount(), static_cast<GIntBig>(expected.size()));
    if (!output.ends_with(".tab") && !output.ends_with(".mif")) {  // which record no kind
        EXPECT_EQ(wkbFlatten(points.GetGeomType()), wkbPoint);
    }
    std::size_t i = 0;
    for (const auto& point : points) {
        const auto& [place, want] = expected[i++];
        const Point at{point->GetGeometryRef()->toPoint()->getX(),
                       point->GetGeometryRef()->toPoint()->getY()};
        EXPECT_NEAR(point->GetFieldAsDouble("distanceM"), want.first, 1e-6);
        EXPECT_EQ(point->GetFieldAsInteger("xRowId"), place + 1);
        EXPECT_EQ(point->GetFieldAsString(key), selected[static_cast<std::size_t>(place)]);
        EXPECT_LT(system == SampleSystem::Utm
                      ? std::hypot(at.x - want.second.x, at.y - want.second.y)
                      : referenceDistance(system, at, want.second),
                  tolerance)
            << want.first;
    }
}

// A row of each kind the file mode passes over, and of each it places only once converted.
const char* kUnplaceable =
    "\"LINESTRING(10 50,10.5 50.2)\",line,1\n\"LINESTRING EMPTY\",empty,2\n"
    "\"POINT(10 50)\",point,3\n\"LINESTRING(10 50)\",one node,4\n"
    "\"LINESTRING(1e300 1e300,-1e300 -1e300)\",huge,5\n\"LINESTRING(10 50,10 95)\",pole,6\n"
    "\"LINESTRING(179.9 10,-179.9 10)\",dateline,7\n\"TIN(((0 0,0 1,1 0,0 0)))\",tin,8\n"
    "\"GEOMETRYCOLLECTION(POINT(1 1))\",no lines,9\n\"LINESTRING(10 50,10.1 50)\",bad blob,10\n"
    "\"CIRCULARSTRING(10 50,10.1 50.1,10.2 50)\",arc,11\n"
    "\"COMPOUNDCURVE((10 50,10.1 50),CIRCULARSTRING(10.1 50,10.15 50.05,10.2 50))\",chain,12\n"
    "\"MULTICURVE((10 50,10.1 50),CIRCULARSTRING(10.1 50,10.15 50.05,10.2 50))\",curves,13\n"
    "\"CURVEPOLYGON(CIRCULARSTRING(10 50,10.1 50,10 50))\",round,14\n"
    "\"GEOMETRYCOLLECTION(POINT(1 1),LINESTRING(10 50,10.2 50))\",mixed,15\n"
    "\"LINESTRING Z(10 50 5,10.2 50 7)\",raised,16\n";

// A line with a NaN node, which WKT cannot spell, and a geometry GDAL cannot read.
void addNanLine(const std::string& path) {
    const DatasetPtr dataset(
        static_cast<GDALDataset*>(
            GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, nullptr, nullptr, nullptr)),
        GDALClose);
    OGRLayer& layer = *dataset->GetLayer(0);
    OGRFeature feature(layer.GetLayerDefn());
    feature.SetField("name", "nan");
    OGRLineString line;
    line.addPoint(10, 50);
    line.addPoint(std::nan(""), 51);
    feature.SetGeometry(&line);
    ASSERT_EQ(layer.CreateFeature(&feature), OGRERR_NONE);
    const std::string bad = std::string("UPDATE \"") + layer.GetName() +
                            "\" SET geom = X'47500001E6100000DEADBEEF' WHERE name = 'bad blob'";
    dataset->ReleaseResultSet(dataset->ExecuteSQL(bad.c_str(), nullptr, nullptr));
}

const char* kLatLongLines =
    "\"MULTILINESTRING((27 60,27.02 60.01,27.05 60),(27.06 60.02,27.09 60.03))\",multi,11\n"
    "\"LINESTRING(27.1 60.1,27.13 60.12)\",line,22\n";

// Input format, then the outputs for the lat/long and the projected runs.
class file_mode : public ::testing::TestWithParam<std::array<const char*, 3>> {};

TEST_P(file_mode, places_every_point_where_the_geodesics_put_it) {
    const TempDir dir;
    const auto [input, llOutput, utmOutput] = GetParam();
    const auto file = [&](std::string name, const char* ext) { return dir.file(name + "." + ext); };
    writeTable(file("ll", input), 4326, kLatLongLines);
    writeTable(file("ll_area", input), 4326,
               "\"POLYGON((27 60.2,27.04 60.2,27 60.22,27 60.2))\",area,33\n");
    writeTable(file("utm", input), 32635,
               "\"MULTILINESTRING((5e5 665e4,501e3 6651e3,503e3 6651e3),(5035e2 66515e2,506e3 "
               "6652e3))\",multi,11\n"
               "\"LINESTRING(51e4 665e4,512e3 66515e2)\",line,22\n");
    writeTable(file("utm_area", input), 32635,
               "\"POLYGON((52e4 665e4,522e3 665e4,52e4 6652e3,52e4 665e4))\",area,33\n");
    const auto ll = SampleSystem::LatLong, utm = SampleSystem::Utm;
    checkRun(file("ll", input), file("a", llOutput), "--every 700 --keep name,code", "code",
             {"11", "22"}, every(700, 700), ll);
    checkRun(file("ll_area", input), file("b", llOutput),
             "--points '300;1500.5\n2000' --from-end --keep code,name", "name", {"area"},
             {300, 1500.5, 2000}, ll);
    checkRun(file("utm", input), file("c", utmOutput),
             "--every 900 --start 50 --where 'code > 11' --from-end --keep name,code", "name",
             {"line"}, every(900, 50), utm);
    checkRun(file("utm_area", input), file("d", utmOutput),
             "--every 1000 --end 2500 --keep code --picture '" + file("d", "png") + "'", "code",
             {"33"}, every(1000, 1000, 2500), utm);
    EXPECT_GT(fs::file_size(file("d", "png")), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    formats, file_mode,
    ::testing::Values(std::array{"tab", "mif", "gpkg"}, std::array{"mif", "shp", "tab"},
                      std::array{"shp", "geojson", "mif"}, std::array{"geojson", "gpkg", "shp"},
                      std::array{"gpkg", "tab", "geojson"}, std::array{"gpkg", "csv", "csv"}));

// Each refusal and each signal mid-run: its status and a message naming the reason; the output
// not written (an existing one untouched), no working folder left, the input as it was.
TEST(file_mode_faults, refuse_with_a_reason_and_leave_no_output) {
    const TempDir dir;
    const std::string input = dir.file("in.gpkg"), out = dir.file("out.shp");
    writeTable(input, 4326, kLatLongLines);
    std::string lines;
    for (int i = 0; i < 40; ++i) lines += kLatLongLines;
    writeTable(dir.file("long.gpkg"), 4326, lines);
    std::ofstream(dir.file("bad.geojson")) << "{\"type\": \"FeatureCollection\", \"feat";
    std::ofstream(dir.file("taken.gpkg")) << "keep me";
    fs::create_directory(dir.file("d"));
    translate(input, dir.file("d/roads.shp"), 4326);
    fs::create_symlink(input, dir.file("link.gpkg"));
    fs::create_hard_link(input, dir.file("same.gpkg"));
    fs::create_directory(dir.file("ro"));
    fs::create_directory(dir.file("ro.gpkg"));
    fs::permissions(dir.file("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    writeTable(dir.file("odd.gpkg"), 4326, kUnplaceable);
    addNanLine(dir.file("odd.gpkg"));
    const std::string from = "--input '" + input + "' ";
    const auto odd = [&](const char* name) {
        return "--input '" + dir.file("odd.gpkg") +
               "' --keep name --every 1000 --where 'name = \"" + name + "\"'";
    };
    std::ofstream(dir.file("names.csv"))
        << "WKT,Straße," << std::string(32, 'k') << "\n\"LINESTRING(10 50,10.5 50.2)\",a,b\n";
    translate(dir.file("names.csv"), dir.file("names.gpkg"), 4326);
    const std::string names = "--input '" + dir.file("names.gpkg") + "' --every 1000 ";
    std::ofstream(dir.file("far.csv"))
        << "WKT,name\n\"LINESTRING(500000 5000000,9e9 5000000)\",far\n";
    translate(dir.file("far.csv"), dir.file("far.gpkg"), 32633);
    std::ofstream(dir.file("angles.csv")) << "WKT,angle,Part,name\n\"LINESTRING(1 5,2 5)\",1,2,a\n";
    translate(dir.file("angles.csv"), dir.file("angles.gpkg"), 4326);
    const std::string angles = "--input '" + dir.file("angles.gpkg") + "' --every 1000 ";
    const std::string world = "--input '" WORLD_ATLAS "' --layer countries --every 1000 ";
    const auto staging = [](const fs::path& folder) {
        return std::ranges::any_of(fs::directory_iterator(folder), [](const auto& entry) {
            return entry.path().string().find(".writing-") != std::string::npos;
        });
    };
    const std::string ro = fs::relative(dir.file("ro.gpkg")).string();
    const std::string longRun = "--input '" + dir.file("long.gpkg") + "' --every 0.02";
    const auto at = [](const char* step) {
        return "VELTRANO_BATCH_INTERRUPT_AT=" + std::string(step) + " ";
    };
    const struct {
        std::string arguments;
        int status;
        std::string message, output;
        std::string meanwhile = "", limits = "";
    } rows[] = {
        {"--input '" + dir.file("bad.geojson") + "' --every 100", 7, "bad.geojson", out},
        {from + "--every 100 --keep name,zzz", 1, "no column zzz; its columns are name, code", out},
        {from + "--every 100 --keep distanceM", 1, "the points get", out},
        {angles + "--keep all --angle --parts each", 1,
         "columns angle, Part are named as ones of the points' own (distanceM, xRowId, angle, "
         "part); keep the others with --keep name",
         out},
        {from + "--every 100 --distance grid", 1, "the input is in longitude/latitude", out},
        {from + "--every 100 --parts several", 1, "--parts 'several': joined or each", out},
        {from + "--every 0", 1, "--every '0'", out},
        {from + "--every 0.0005", 1, "more than 10000000", out},
        {from + "--every 1,5", 1, "--every '1,5'", out},
        {from + "--every 100 --where \"name = 'a'\"", 1, "strings in double quotes", out},
        {from + "--every 100 --where '1=1 NoSelect'", 1, "without Into or NoSelect", out},
        {from + "--every 100 --where 'code > 0 Into PlacedPoints'", 1, "without Into", out},
        {from + "--every 100 --layer 'a\nb'", 1, "--layer: a line break", out},
        {"--input '" + dir.file("none.tab") + "' --every 100", 7,
         "veltrano-batch: cannot open " + dir.file("none.tab") + ": no such file\n",
         dir.file("taken.gpkg")},
        {"--input '" WORLD_ATLAS "' --every 1000", 7,
         "2 layers (\"countries\", \"land\"): name one with --layer NAME", out},
        {world, 7, "names no coordinate system; give its system with --crs", out},
        {world + "--crs '+proj=igh'", 1, "\"+proj=igh +lon_0=0", out},
        {world + "--crs nowhere", 1, "--crs 'nowhere'", out},
        {odd("point"), 3, "no line: a point", out},
        {"--input '" + dir.file("far.gpkg") + "' --points 1", 3,
         "row 1 skipped: out of range: cannot convert the point (9000000000", out},
        {odd("dateline"), 3, "1 row skipped: crosses the antimeridian", out},
        {odd("point") + " --end 5000", 3, "no line: a point", out},
        {names + "--keep 'Straße'", 1, "only ASCII names (write .gpkg", dir.file("o.tab")},
        {names + "--keep " + std::string(32, 'k'), 1, "longer than the 31 bytes",
         dir.file("o.mif")},
        {from + "--every 100", 8, "exists", dir.file("taken.gpkg")},
        {from + "--every 100 --overwrite", 8, "a file of the input", input},
        {from + "--every 100", 8, "read-only", dir.file("ro/out.gpkg")},
        {from + "--every 0.5", 8, "veltrano-batch: cannot write " + out + ": File too large (", out,
         "", "trap '' XFSZ; ulimit -f 64; "},
        {from + "--every 0.5", 8,  // GDAL's reason, not storage's whole text again
         "cannot write " + out + ": File too large (.shp file is unreadable, or corrupt.)\n", out,
         "", "trap '' XFSZ; ulimit -f 0; "},
        {from + "--every 0.5", 8,  // SQLite's reason without the statement GDAL quotes
         "cannot write " + dir.file("big.gpkg") + ": File too large (disk I/O error)\n",
         dir.file("big.gpkg"), "", "trap '' XFSZ; ulimit -f 0; "},
        {"--input '" + dir.file("d") + "' --layer roads --every 100 --overwrite", 8,
         "a file of the input", dir.file("d/roads.shp")},
        {from + "--every 100 --overwrite", 8, "a file of the input", dir.file("link.gpkg")},
        {from + "--every 100 --overwrite", 8, "a file of the input", dir.file("same.gpkg")},
        {from + "--every 100 --overwrite", 8,  // named from the root though given relative
         "cannot write " + fs::absolute(ro).string() + ": " + fs::absolute(ro).string() +
             " is a folder\n",
         ro},
        {from + "--every 100 --picture '" + input + "'", 8, "a file of the input", out},
        {from + "--every 100 --picture '" + dir.file("taken.gpkg") + "'", 8, "exists", out},
        {from + "--every 100 --picture '" + dir.file("p.bmp") + "'", 8,  // not its working name
         "cannot write " + dir.file("p.bmp") + ": unknown picture", out},
        {from + "--every 100 --picture '" + dir.file("ro/p.png") + "'", 8, "read-only", out},
        {"--input '" + dir.file("long.gpkg") + "' --every 1", 8,
         "cannot write " + out + ": " + out + " was made while the table was written\n", out,
         "echo other >" + out},
        {longRun, 130, "interrupted", out, "kill -INT $!"},
        {longRun, 130, "interrupted", out, "kill -TERM $!"},
        {from + "--every 100 --picture '" + dir.file("p.png") + "'", 130, "interrupted", out, "",
         at("write")},
        {from + "--every 100 --picture '" + dir.file("p.png") + "'", 130, "interrupted", out, "",
         at("picture")},
        {from + "--every 100 --picture '" + dir.file("p.png") + "'", 130, "interrupted", out, "",
         at("commit")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const auto before = fs::is_regular_file(row.output) ? fs::file_size(row.output) : 0;
        const auto [status, err] =
            batch(row.arguments + " --output '" + row.output + "'", row.meanwhile, row.limits);
        EXPECT_EQ(status, row.status) << err;
        EXPECT_NE(err.find(row.message), std::string::npos) << err;
        const bool other = row.meanwhile.starts_with("echo");  // the run made it meanwhile
        EXPECT_EQ(fs::is_regular_file(row.output) ? fs::file_size(row.output) : 0,
                  other ? 6 : before);
        EXPECT_FALSE(fs::exists(dir.file("p.png")));
        EXPECT_FALSE(staging(fs::path(row.output).parent_path()) || staging(dir.path()));
        if (other) fs::remove(row.output);
    }
    const auto [placed, skips] =
        batch("--input '" + dir.file("odd.gpkg") + "' --every 1000 --keep name --output '" +
              dir.file("placed.gpkg") + "'");
    EXPECT_EQ(placed, 0) << skips;
    for (const char* skip :
         {"row 2 (empty) skipped: no line: the row has no object", "no line: a line of one node",
          "no line: a collection without lines", "out of range: 1e+300 is beyond",
          "out of range: latitude 95", "ogr2ogr -wrapdateline",
          "unreadable object: mbhost has no object for a TIN",
          "out of range: a coordinate is not a number",
          "unreadable object: Unable to read geometry",
          "; 10 rows skipped: 1 crosses the antimeridian, 4 no line, 3 out of range, 2 unreadable "
          "object"}) {
        EXPECT_NE(skips.find(skip), std::string::npos) << skip << "\n" << skips;
    }
    std::set<std::string> along;
    const DatasetPtr points = openVector(dir.file("placed.gpkg"));
    for (const auto& point : *points->GetLayer(0)) along.insert(point->GetFieldAsString("name"));
    EXPECT_EQ(along, (std::set<std::string>{"line", "arc", "chain", "curves", "round", "mixed",
                                            "raised"}));
    const auto [status, err] =
        batch(from + "--every 100 --output '" + out + "'", "", at("written"));
    EXPECT_EQ(status, 0);
    EXPECT_NE(err.find("interrupted after the commit: " + out + " was written"), std::string::npos)
        << err;
    EXPECT_EQ(openVector(input)->GetLayer(0)->GetFeatureCount(), 2);
}

// Natural Earth's countries from world-atlas (TopoJSON has no system: given lat/long on the way
// into a GeoPackage), a country of several polygons. Its edges run up to 100 km,
// where the engine's 1 mm rule, applied to each refinement's rest, lets a point drift a few mm.
TEST(file_mode_real_data, borders_of_a_public_data_set) {
    const TempDir dir;
    const std::string world = dir.file("world.gpkg"), out = dir.file("it.geojson");
    translate(WORLD_ATLAS, world, 4326);
    const auto [placed, skips] = batch("--input '" WORLD_ATLAS
                                       "' --layer countries --crs EPSG:4326 "
                                       "--every 50000 --keep name --output '" +
                                       dir.file("all.gpkg") + "'");
    EXPECT_EQ(placed, 0);
    EXPECT_NE(skips.find("row 1 (Fiji) skipped: crosses the antimeridian"), std::string::npos)
        << skips;
    EXPECT_NE(skips.find("2 rows skipped: crosses the antimeridian"), std::string::npos);
    checkRun(world, out, "--layer countries --where 'name = \"Italy\"' --every 50000 --keep name",
             "name", {"Italy"}, every(50000, 50000), SampleSystem::LatLong, 5e-3);
}

// A run's points in the output's order.
struct Placed {
    double d;
    int row, part;  // part: 0 without a part column
    double angle;
    Point at;
};

std::vector<Placed> placedPoints(const std::string& path) {
    std::vector<Placed> points;
    const DatasetPtr output = openVector(path);
    for (const auto& f : *output->GetLayer(0)) {
        const OGRPoint& at = *f->GetGeometryRef()->toPoint();
        points.push_back({f->GetFieldAsDouble("distanceM"),
                          f->GetFieldAsInteger("xRowId"),
                          f->GetFieldIndex("part") < 0 ? 0 : f->GetFieldAsInteger("part"),
                          f->GetFieldAsDouble("angle"),
                          {at.getX(), at.getY()}});
    }
    return points;
}

// The metres to each node from the first, summed as the walk sums them.
std::vector<double> nodeDistances(const std::vector<Point>& nodes, bool grid) {
    std::vector<double> at{0};
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const Point a = nodes[i - 1], b = nodes[i];
        at.push_back(at.back() + (grid ? std::hypot(b.x - a.x, b.y - a.y)
                                       : referenceDistance(SampleSystem::LatLong, a, b)));
    }
    return at;
}

// The nodes of the section a point lies on, in the walk's order, with the metres to each: its
// part's with --parts each, else the row's sections walked one after the other.
std::pair<std::vector<Point>, std::vector<double>> sectionOf(const Sections& row, const Placed& p,
                                                             bool grid, bool fromEnd) {
    Sections path = p.part > 0 ? Sections{row.at(p.part - 1)} : row;
    if (fromEnd) std::reverse(path.begin(), path.end());
    std::pair<std::vector<Point>, std::vector<double>> last;
    double before = 0;
    for (std::vector<Point> nodes : path) {
        if (nodes.size() < 2) continue;  // a part of one node is not walked
        std::vector<double> at = nodeDistances(nodes, grid);
        if (fromEnd) {  // as the walk reverses them
            const double total = at.back();
            std::reverse(nodes.begin(), nodes.end());
            std::reverse(at.begin(), at.end());
            for (double& d : at) d = total - d;
        }
        for (double& d : at) d += before;
        last = {nodes, at};
        if (p.d < at.back()) break;
        before = at.back();
    }
    return last;
}

// Each point of a run against its segment, found by the
// references' own lengths: its direction (PROJ's geodesic azimuth on lat/long, atan2 on the
// grid) and, on the grid, where GEOS's interpolation puts it.
void checkAlong(const std::string& input, const std::string& output, bool grid, bool fromEnd) {
    SCOPED_TRACE(output);
    std::vector<Sections> rows;
    const DatasetPtr source = openVector(input);
    for (const auto& f : *source->GetLayer(0))
        addSections(*f->GetGeometryRef(), rows.emplace_back());
    geod_geodesic wgs84;
    geod_init(&wgs84, 6378137, 1 / 298.257223563);
    const GEOSContextHandle_t geos = GEOS_init_r();
    for (const Placed& p : placedPoints(output)) {
        const auto [nodes, at] = sectionOf(rows.at(p.row - 1), p, grid, fromEnd);
        // A point at the very end (an event's) lies on the last segment.
        const auto i = std::min(std::upper_bound(at.begin(), at.end(), p.d) - at.begin() - 1,
                                static_cast<std::ptrdiff_t>(at.size()) - 2);
        const Point a = nodes.at(i), b = nodes.at(i + 1);
        double angle = std::atan2(b.x - a.x, b.y - a.y) * 180 / M_PI, azimuth = 0, unused = 0;
        if (!grid) {
            geod_inverse(&wgs84, a.y, a.x, b.y, b.x, nullptr, &azimuth, nullptr);
            geod_direct(&wgs84, a.y, a.x, azimuth, p.d - at[i], &unused, &unused, &angle);
        }
        EXPECT_NEAR(p.angle, std::fmod(angle + 360, 360), 1e-6) << p.d;
        if (!grid) continue;
        OGRLineString line;
        for (const Point& node : nodes) line.addPoint(node.x, node.y);
        GEOSGeometry* path = line.exportToGEOS(geos);
        GEOSGeometry* there = GEOSInterpolate_r(geos, path, p.d - at.front());
        double x = 0, y = 0;
        GEOSGeomGetX_r(geos, there, &x), GEOSGeomGetY_r(geos, there, &y);
        EXPECT_LT(std::hypot(p.at.x - x, p.at.y - y), 1e-3) << p.d;
        GEOSGeom_destroy_r(geos, there), GEOSGeom_destroy_r(geos, path);
    }
    GEOS_finish_r(geos);
}

// Chile (two parts) in lat/long and in UTM 19S, measured on the ground and on the grid: the
// points from either end, on nodes and between; each part alone places what --parts each does.
TEST(file_mode_real_data, angles_parts_and_grid_distances) {
    const TempDir dir;
    const auto run = [&](const std::string& in, const std::string& out, const std::string& more) {
        const auto [status, err] = batch("--input '" + in + "' --output '" + out + "' " + more);
        EXPECT_EQ(status, 0) << err;
    };
    for (const char* system : {"EPSG:4326", "EPSG:32719"}) {
        const bool grid = system[5] == '3';
        const std::string whole = dir.file(system + 5 + std::string(".gpkg")),
                          alone = dir.file(system + 5 + std::string("parts.gpkg"));
        translate(
            WORLD_ATLAS, whole, 0,
            {"-s_srs", "EPSG:4326", "-t_srs", system, "-where", "name = 'Chile'", "countries"});
        translate(whole, alone, 0, {"-explodecollections", "-unsetFid"});
        std::string list;  // a node of each part from either end, and points between
        Sections sections;
        addSections(*OGRFeatureUniquePtr(openVector(whole)->GetLayer(0)->GetNextFeature())
                         ->GetGeometryRef(),
                    sections);
        for (const auto& part : sections) {
            const auto at = nodeDistances(part, grid);
            for (double d : {at[3], (at[3] + at[4]) / 2, at.back() - at[6], at.back() * 0.37})
                list += (std::ostringstream() << std::setprecision(17) << d).str() + ";";
        }
        for (const auto& [more, fromEnd] : {std::pair{"", false}, std::pair{"--from-end", true}}) {
            const std::string each = dir.file("each.gpkg"), parts = dir.file("parts.gpkg");
            const std::string options = std::string(more) + " --angle --overwrite --points '" +
                                        list + "'" + (grid ? " --distance grid" : "");
            run(whole, each, options + " --parts each --keep all");
            run(alone, parts, options);
            checkAlong(whole, each, grid, fromEnd);
            const auto a = placedPoints(each), b = placedPoints(parts);
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(std::tie(a[i].d, a[i].part, a[i].angle, a[i].at.x, a[i].at.y),
                          std::tie(b[i].d, b[i].row, b[i].angle, b[i].at.x, b[i].at.y));
            }
        }
    }
}

// Each output row where PROJ's geodesics put its event: on the line of routes whose column key
// holds the row's kept ROAD (a number key read as one), KM metres along it; at the line's end
// where KM is its length. The engine's 1 mm rule, applied to each refinement's rest, lets a
// point drift by up to a few cm on the 100 km and longer edges of real borders.
// Where a walk along the sections ends: a part of one node is not walked.
Point walkEnd(const Sections& line, bool fromEnd) {
    for (std::size_t s = 0; s < line.size(); ++s) {
        const auto& nodes = line[fromEnd ? s : line.size() - 1 - s];
        if (nodes.size() >= 2) return fromEnd ? nodes.front() : nodes.back();
    }
    return line.front().front();
}

void checkEvents(const std::string& routes, const char* key, const std::string& output,
                 bool fromEnd, std::size_t rows) {
    const DatasetPtr source = openVector(routes), placed = openVector(output);
    ASSERT_TRUE(placed);
    ASSERT_EQ(placed->GetLayer(0)->GetFeatureCount(), static_cast<GIntBig>(rows));
    std::map<std::string, Sections> lines;
    std::vector<std::string> keys;  // by row
    for (auto& feature : *source->GetLayer(0)) {
        keys.push_back(feature->GetFieldAsString(key));
        if (wkbFlatten(feature->GetGeometryRef()->getGeometryType()) == wkbPoint) continue;
        addSections(*feature->GetGeometryRef(), lines[keys.back()]);
    }
    for (const auto& point : *placed->GetLayer(0)) {
        const double km = std::stod(point->GetFieldAsString("KM"));
        const std::string road = point->GetFieldAsString("ROAD");
        const std::string& route = lines.count(road) ? road : std::to_string(std::stoi(road));
        const Sections& line = lines[route];
        EXPECT_EQ(keys.at(static_cast<std::size_t>(point->GetFieldAsInteger("xRowId") - 1)), route);
        const auto want = expectedPoints(line, fromEnd, {km}, SampleSystem::LatLong);
        const Point end = walkEnd(line, fromEnd);
        const Point at{point->GetGeometryRef()->toPoint()->getX(),
                       point->GetGeometryRef()->toPoint()->getY()};
        EXPECT_EQ(point->GetFieldAsDouble("distanceM"), km);
        EXPECT_LT(referenceDistance(SampleSystem::LatLong, at, want.empty() ? end : want[0].second),
                  0.1)
            << road << " " << km;
    }
}

// Events by route and measure: found ones where the geodesics put them, the others named with
// their row, route, measure and reason; the options' mistakes refused before anything is written.
TEST(file_mode_events, placed_on_their_routes_or_named_with_the_reason) {
    const TempDir dir;
    const std::string routes = dir.file("routes.gpkg"), events = dir.file("ev.csv");
    writeTable(routes, 4326,
               std::string(kLatLongLines) +
                   "\"LINESTRING(27 61,27.1 61)\",a,33\n"
                   "\"LINESTRING(28 61,28.1 61)\",b,33\n\"POINT(27 62)\",p,44\n"
                   "\"LINESTRING(26 61,26.05 61.02,26.1 61,26.12 61.05)\",bends,55\n"
                   "\"MULTILINESTRING((26 62),(26.1 62.1,26.2 62.1))\",dot,66\n");
    std::ofstream(events) << "ROAD,KM,note\n22,1000,found\n0022,0,start\n\" 22 \",2500,spaces\n"
                             "99,10,nowhere\n11,3000,multi\n22,-5,neg\n22,abc,nan\n22,9999,far\n"
                             "33,100,twice\n44,10,point\n";
    // Both ends of a line of four nodes too, and of one whose first part is a node; an end
    // given half a millimetre long, as typed measures are.
    const double l55 = nodeDistances({{26, 61}, {26.05, 61.02}, {26.1, 61}, {26.12, 61.05}}, false)
                           .back(),
                 l66 = nodeDistances({{26.1, 62.1}, {26.2, 62.1}}, false).back();
    std::ofstream(dir.file("good.csv"))
        << "ROAD,KM\n22,1000\n22,0\n11,3000\n22,2783.6916\n55,0\n66,0\n"
        << std::setprecision(12) << "55," << l55 + 5e-4 << "\n66," << l66 + 5e-4 << '\n';
    const std::string keys = "' --route-key code --event-route ROAD --event-measure KM ";
    const std::string run =
        "--input '" + routes + keys + "--output '" + dir.file("o.gpkg") + "' --overwrite ";
    const std::string all = run + "--events '" + events + "' --keep ROAD,KM ";
    const struct {
        std::string arguments;
        int status;
        std::vector<std::string> messages;
        std::size_t rows = 0;
    } cases[] = {
        {all,
         6,
         {"event row 4 (route \"99\", measure 10) not placed: unknown route",
          "event row 6 (route \"22\", measure -5) not placed: negative measure",
          "event row 7 (route \"22\", measure abc) not placed: measure not a number",
          "row 8 (route \"22\", measure 9999) not placed: beyond the end: the route is 2783.691 m",
          "row 9 (route \"33\", measure 100) not placed: several routes: 2 lines have this key",
          "row 10 (route \"44\", measure 10) not placed: route not placeable: no line: a point",
          "6 events not placed: 1 beyond the end, 1 measure not a number"},
         4},
        {all + "--from-end --angle", 6, {"6 events not placed"}, 4},
        {run + "--events '" + dir.file("good.csv") + "' --keep all --angle", 0, {"8 points"}, 8},
        {run + "--events '" + dir.file("good.csv") + "' --keep all --angle --from-end",
         0,
         {"8 points"},
         8},
        {all + "--where 'code > 30'", 3, {"no event could be placed: 10 events not placed"}},
        {all + "--keep zz", 1, {"--keep: the events have no column zz; their columns are ROAD"}},
        {run + "--events '" + events + "' --route-key nam", 1, {"the input has no column nam"}},
        {run + "--events '" + dir.file("none.csv") + "'", 7, {"none.csv: no such file"}},
        {all + "--every 100", 1, {"--events excludes --points, --points-file, --every"}},
        {"--input '" + routes + "' --events '" + events + keys + "--output '" + events +
             "' --overwrite",
         8,
         {"a file of the"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.arguments);
        fs::remove(dir.file("o.gpkg"));
        const auto [status, err] = batch(row.arguments);
        EXPECT_EQ(status, row.status) << err;
        for (const auto& message : row.messages) {
            EXPECT_NE(err.find(message), std::string::npos) << message << "\n" << err;
        }
        EXPECT_EQ(fs::exists(dir.file("o.gpkg")), row.rows > 0);
        if (row.rows > 0) {
            const bool fromEnd = row.arguments.find("--from-end") != std::string::npos;
            checkEvents(routes, "code", dir.file("o.gpkg"), fromEnd, row.rows);
            if (row.arguments.find("--angle") != std::string::npos)
                checkAlong(routes, dir.file("o.gpkg"), false, fromEnd);
        }
    }
}

// A thousand events on Natural Earth's country borders, keyed by their text id, from a
// GeoPackage that holds the ids as numbers.
TEST(file_mode_events, a_thousand_events_on_real_borders) {
    const TempDir dir;
    const std::string world = dir.file("world.gpkg");
    translate(WORLD_ATLAS, world, 4326);
    const DatasetPtr source = openVector(world);
    std::vector<std::pair<std::string, double>> countries;  // id, length
    for (auto& feature : *source->GetLayerByName("countries")) {
        Sections sections;
        addSections(*feature->GetGeometryRef(), sections);
        double length = 0;
        for (const auto& nodes : sections) length += nodeDistances(nodes, false).back();
        const std::string name = feature->GetFieldAsString("name"),
                          id = feature->GetFieldAsString("id");
        if (name != "Fiji" && name != "Russia" && name != "Antarctica" && id[0] > '0')
            countries.emplace_back(id, length);
    }
    std::ofstream csv(dir.file("events.csv"));
    csv << "ROAD,KM\n";
    for (int i = 0; i < 1000; ++i) {
        const auto& [id, length] = countries[static_cast<std::size_t>(i * 37) % countries.size()];
        csv << id << "," << std::floor(length * ((i * 7919) % 997) / 1000.0) << '\n';
    }
    csv.close();
    translate(dir.file("events.csv"), dir.file("events.gpkg"), 4326);
    const auto [status, err] =
        batch("--input '" + world + "' --layer countries --events '" + dir.file("events.gpkg") +
              "' --route-key id --event-route " + "ROAD --event-measure KM --keep all --output '" +
              dir.file("placed.gpkg") + "'");
    EXPECT_EQ(status, 0) << err;
    checkEvents(world, "id", dir.file("placed.gpkg"), false, 1000);
}

}  // namespace
}  // namespace veltrano::testing
