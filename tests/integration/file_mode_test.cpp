// veltrano-batch --input on files of every format: the output read back with GDAL and each
// point checked against PROJ's geodesics, not mbhost's; faults and signals leave no output.
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "reference_geodesy.h"
#include "served_host.h"

namespace veltrano::testing {
namespace {
using mbhost::Point;
using mbhost::testing::referenceDistance;
using mbhost::testing::SampleSystem;
using Sections = std::vector<std::vector<Point>>;
using DatasetPtr = std::unique_ptr<GDALDataset, decltype(&GDALClose)>;
using FeaturePtr = std::unique_ptr<OGRFeature, decltype(&OGRFeature::DestroyFeature)>;

struct Ran {
    int status = -1;
    std::string err;
};

// Through the shell, so that limits can be set first; signalled after a while when asked.
Ran batch(const std::string& arguments, int signal = 0, const std::string& limits = "") {
    const TempDir logs;
    const std::string line =
        limits + "exec '" VELTRANO_BATCH_PATH "' " + arguments + " 2>" + logs.file("err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", line.c_str(), nullptr);
        ::_exit(127);
    }
    if (signal != 0) ::usleep(800'000), ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::ifstream in(logs.file("err"));
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {std::istreambuf_iterator<char>(in), {}}};
}

DatasetPtr openVector(const std::string& path, bool create = false) {
    GDALAllRegister();
    if (!create) {
        return {static_cast<GDALDataset*>(
                    GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr)),
                GDALClose};
    }
    const std::string ext = std::filesystem::path(path).extension();
    const char* driver = ext == ".shp"       ? "ESRI Shapefile"
                         : ext == ".geojson" ? "GeoJSON"
                         : ext == ".gpkg"    ? "GPKG"
                                             : "MapInfo File";
    const char* options[] = {ext == ".mif" ? "FORMAT=MIF" : nullptr, nullptr};
    return {GetGDALDriverManager()->GetDriverByName(driver)->Create(
                path.c_str(), 0, 0, 0, GDT_Unknown, const_cast<char**>(options)),
            GDALClose};
}

struct Source {
    const char* name;
    int code;
    const char* wkt;
};

void writeTable(const std::string& path, int epsg, const std::vector<Source>& rows) {
    DatasetPtr dataset = openVector(path, true);
    OGRSpatialReference system;
    system.importFromEPSG(epsg);
    OGRLayer* layer = dataset->CreateLayer("t", &system, wkbUnknown, nullptr);
    OGRFieldDefn name("name", OFTString), code("code", OFTInteger);
    name.SetWidth(16);
    ASSERT_EQ(layer->CreateField(&name) | layer->CreateField(&code), OGRERR_NONE);
    for (const auto& row : rows) {
        FeaturePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()),
                           OGRFeature::DestroyFeature);
        feature->SetField(0, row.name);
        feature->SetField(1, row.code);
        OGRGeometry* geometry = nullptr;
        OGRGeometryFactory::createFromWkt(row.wkt, nullptr, &geometry);
        feature->SetGeometryDirectly(geometry);
        ASSERT_EQ(layer->CreateFeature(feature.get()), OGRERR_NONE);
    }
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
    } else {
        for (const auto* part : *geometry.toGeometryCollection()) addSections(*part, out);
    }
}

struct Expected {
    double distance;
    Point point;
};

// The point d metres along: on a lat/long segment where the geodesic from its start is as
// long, on a projected one at the linear fraction of its geodesic length.
std::vector<Expected> expectedPoints(Sections sections, bool fromEnd,
                                     const std::vector<double>& distances, SampleSystem system) {
    if (fromEnd) {
        std::reverse(sections.begin(), sections.end());
        for (auto& section : sections) std::reverse(section.begin(), section.end());
    }
    std::vector<Expected> points;
    double start = 0;
    for (const auto& nodes : sections) {
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            const Point a = nodes[i - 1], b = nodes[i];
            const double end = start + referenceDistance(system, a, b);
            for (double d : distances) {
                if (d < start || d >= end) continue;
                double low = 0, high = 1, f = (d - start) / (end - start);
                const auto at = [&](double t) {
                    return Point{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
                };
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

std::vector<double> every(double step, double start, double end = 1e5) {
    std::vector<double> list;
    for (double d = start; d <= end; d += step) list.push_back(d);
    return list;
}

const std::vector<Source> kLatLongLines = {
    {"multi", 11, "MULTILINESTRING((27 60,27.02 60.01,27.05 60),(27.06 60.02,27.09 60.03))"},
    {"line", 22, "LINESTRING(27.1 60.1,27.13 60.12)"}};
const std::vector<Source> kUtmLines = {
    {"multi", 11,
     "MULTILINESTRING((5e5 6.65e6,501000 6651000,503000 6651000),(503500 6651500,506000 6652000))"},
    {"line", 22, "LINESTRING(510000 6650000,512000 6651500)"}};

struct Format {
    const char* input;
    const char* latLongOutput;
    const char* utmOutput;
};

class file_mode : public ::testing::TestWithParam<Format> {};

TEST_P(file_mode, places_every_point_where_the_geodesics_put_it) {
    const struct {
        SampleSystem system;
        const char* file;
        std::string arguments;
        std::vector<int> selected;  // the codes of the selected rows, in order
        bool fromEnd;
        std::vector<double> distances;
    } rows[] = {
        {SampleSystem::LatLong,
         "ll_lines",
         "--every 700 --keep name,code",
         {11, 22},
         false,
         every(700, 700)},
        {SampleSystem::LatLong,
         "ll_area",
         "--points '300;1500.5\n2000' --from-end --keep code,name",
         {33},
         true,
         {300, 1500.5, 2000}},
        {SampleSystem::Utm,
         "utm_lines",
         "--every 900 --start 50 --where 'code > 11' --from-end --keep name,code",
         {22},
         true,
         every(900, 50)},
        {SampleSystem::Utm,
         "utm_area",
         "--every 1000 --end 2500 --keep name,code",
         {33},
         false,
         every(1000, 1000, 2500)},
    };
    const TempDir dir;
    const std::string ext = std::string(".") + GetParam().input;
    writeTable(dir.file("ll_lines" + ext), 4326, kLatLongLines);
    writeTable(dir.file("ll_area" + ext), 4326,
               {{"area", 33, "POLYGON((27 60.2,27.04 60.2,27.04 60.22,27 60.22,27 60.2))"}});
    writeTable(dir.file("utm_lines" + ext), 32635, kUtmLines);
    writeTable(
        dir.file("utm_area" + ext), 32635,
        {{"area", 33, "POLYGON((52e4 665e4,522e3 665e4,522e3 6652e3,52e4 6652e3,52e4 665e4))"}});
    for (const auto& row : rows) {
        const bool latLong = row.system == SampleSystem::LatLong;
        const std::string input = dir.file(row.file + ext);
        const std::string output =
            dir.file(std::string(row.file) + "_out." +
                     (latLong ? GetParam().latLongOutput : GetParam().utmOutput));
        SCOPED_TRACE(row.arguments + " -> " + output);
        const Ran ran = batch("--input '" + input + "' --output '" + output + "' " + row.arguments);
        ASSERT_EQ(ran.status, 0) << ran.err;

        const DatasetPtr source = openVector(input), placed = openVector(output);
        std::vector<std::pair<FeaturePtr, Expected>> expected;
        for (const int code : row.selected) {
            for (auto& feature : *source->GetLayer(0)) {
                if (feature->GetFieldAsInteger("code") != code) continue;
                Sections sections;
                addSections(*feature->GetGeometryRef(), sections);
                for (const auto& point :
                     expectedPoints(sections, row.fromEnd, row.distances, row.system)) {
                    expected.emplace_back(FeaturePtr(feature->Clone(), OGRFeature::DestroyFeature),
                                          point);
                }
            }
        }
        OGRLayer& points = *placed->GetLayer(0);
        ASSERT_EQ(points.GetFeatureCount(), static_cast<GIntBig>(expected.size()));
        std::size_t i = 0;
        for (const auto& point : points) {
            const auto& [from, want] = expected[i++];
            const auto* at = point->GetGeometryRef()->toPoint();
            EXPECT_NEAR(point->GetFieldAsDouble("distanceM"), want.distance, 1e-6);
            EXPECT_EQ(point->GetFieldAsInteger("xRowId"),
                      1 +
                          std::find(row.selected.begin(), row.selected.end(),
                                    from->GetFieldAsInteger("code")) -
                          row.selected.begin());
            EXPECT_STREQ(point->GetFieldAsString("name"), from->GetFieldAsString("name"));
            EXPECT_EQ(point->GetFieldAsInteger("code"), from->GetFieldAsInteger("code"));
            const Point got{at->getX(), at->getY()};
            EXPECT_LT(latLong ? referenceDistance(row.system, got, want.point)
                              : std::hypot(got.x - want.point.x, got.y - want.point.y),
                      1e-3)
                << "at " << want.distance;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(formats, file_mode,
                         ::testing::Values(Format{"tab", "mif", "gpkg"},
                                           Format{"mif", "shp", "tab"},
                                           Format{"shp", "geojson", "mif"},
                                           Format{"geojson", "gpkg", "shp"},
                                           Format{"gpkg", "tab", "geojson"}));

bool stagingLeft(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".writing-") != std::string::npos) return true;
    }
    return false;
}

// Each refusal: its status and a message naming the reason; the output not written (an
// existing one untouched), no working folder left, the input as it was.
TEST(file_mode_faults, refuse_with_a_reason_and_leave_no_output) {
    const TempDir dir;
    const std::string input = dir.file("in.gpkg"), out = dir.file("out.shp");
    writeTable(input, 4326, kLatLongLines);
    std::ofstream(dir.file("bad.geojson")) << "{\"type\": \"FeatureCollection\", \"feat";
    std::ofstream(dir.file("taken.gpkg")) << "keep me";
    std::filesystem::create_directory(dir.file("ro"));
    std::filesystem::permissions(
        dir.file("ro"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::string from = "--input '" + input + "' ";
    const struct {
        std::string arguments, limits;
        int status;
        std::string message, output;
    } rows[] = {
        {"--input '" + dir.file("none.tab") + "' --every 100", "", 7, "none.tab: no such file",
         out},
        {"--input '" + dir.file("bad.geojson") + "' --every 100", "", 7, "bad.geojson", out},
        {from + "--every 100 --keep name,zzz", "", 1, "no column zzz", out},
        {from + "--every 100 --keep distanceM", "", 1, "distanceM", out},
        {from + "--every 0", "", 1, "--every '0'", out},
        {from + "--every 1e-9", "", 1, "more than 10000000", out},
        {from + "--every 1,5", "", 1, "--every '1,5'", out},
        {from + "--every 100 --where 'code >'", "", 1, "--where", out},
        {from + "--every 100", "", 8, "exists", dir.file("taken.gpkg")},
        {from + "--every 100 --overwrite", "", 8, "a file of the input", input},
        {from + "--every 100", "", 8, "read-only", dir.file("ro/out.gpkg")},
        {from + "--every 0.5", "trap '' XFSZ; ulimit -f 64; ", 8, "File too large", out},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const auto before =
            std::filesystem::exists(row.output) ? std::filesystem::file_size(row.output) : 0;
        const Ran ran = batch(row.arguments + " --output '" + row.output + "'", 0, row.limits);
        EXPECT_EQ(ran.status, row.status) << ran.err;
        EXPECT_NE(ran.err.find(row.message), std::string::npos) << ran.err;
        EXPECT_EQ(std::filesystem::exists(row.output) ? std::filesystem::file_size(row.output) : 0,
                  before);
        EXPECT_FALSE(stagingLeft(std::filesystem::path(row.output).parent_path()));
    }
    EXPECT_EQ(openVector(input)->GetLayer(0)->GetFeatureCount(), 2);
}

// A signal in the middle of a long run: status 130, no output and no working folder.
TEST(file_mode_faults, a_signal_mid_run_leaves_no_output) {
    const TempDir dir;
    std::vector<Source> lines(40, kLatLongLines[0]);
    writeTable(dir.file("long.gpkg"), 4326, lines);
    for (const int signal : {SIGINT, SIGTERM}) {
        const Ran ran = batch("--input '" + dir.file("long.gpkg") + "' --every 0.02 --output '" +
                                  dir.file("out.gpkg") + "'",
                              signal);
        EXPECT_EQ(ran.status, 130) << ran.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.gpkg")));
        EXPECT_FALSE(stagingLeft(dir.path()));
    }
}

// Natural Earth's countries as world-atlas ships them (TopoJSON declares no system: given
// lat/long on the way into a GeoPackage of two layers), a country of several polygons walked
// as the geodesics say. Its edges run up to 100 km, where the engine's 1 mm stopping rule,
// applied to the piece left after each refinement, lets a point drift a few millimetres.
TEST(file_mode_real_data, borders_of_a_public_data_set) {
    const TempDir dir;
    const std::string out = dir.file("it.geojson"), input = dir.file("world.gpkg");
    GDALAllRegister();
    const char* translate[] = {"-f", "GPKG", "-a_srs", "EPSG:4326", nullptr};
    GDALVectorTranslateOptions* options =
        GDALVectorTranslateOptionsNew(const_cast<char**>(translate), nullptr);
    GDALDatasetH atlas = GDALOpenEx(WORLD_ATLAS, GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    GDALClose(GDALVectorTranslate(input.c_str(), nullptr, 1, &atlas, options, nullptr));
    GDALClose(atlas);
    GDALVectorTranslateOptionsFree(options);
    const Ran layers = batch("--input '" + input + "' --every 50000 --output '" + out + "'");
    EXPECT_EQ(layers.status, 7);
    EXPECT_NE(layers.err.find("\"countries\", \"land\""), std::string::npos) << layers.err;
    const Ran ran = batch(
        "--input '" + input +
        "' --layer countries --where 'name = \"Italy\"' --every 50000 --keep name --output '" +
        out + "'");
    ASSERT_EQ(ran.status, 0) << ran.err;
    Sections sections;
    const DatasetPtr world = openVector(input);
    for (auto& country : *world->GetLayerByName("countries")) {
        if (std::string(country->GetFieldAsString("name")) == "Italy")
            addSections(*country->GetGeometryRef(), sections);
    }
    const auto expected =
        expectedPoints(sections, false, every(50000, 50000, 1e7), SampleSystem::LatLong);
    EXPECT_GT(sections.size(), 2u);
    const DatasetPtr placed = openVector(out);
    ASSERT_EQ(placed->GetLayer(0)->GetFeatureCount(), static_cast<GIntBig>(expected.size()));
    std::size_t i = 0;
    for (const auto& point : *placed->GetLayer(0)) {
        const auto* at = point->GetGeometryRef()->toPoint();
        EXPECT_STREQ(point->GetFieldAsString("name"), "Italy");
        EXPECT_LT(
            referenceDistance(SampleSystem::LatLong, {at->getX(), at->getY()}, expected[i++].point),
            5e-3);
    }
}

}  // namespace
}  // namespace veltrano::testing
