#include <cpl_minixml.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "mbhost/host.h"
#include "mbhost/picture/cairo_handles.h"
#include "mbhost/picture/map_painter.h"
#include "mbhost/picture/map_picture_renderer.h"
#include "mbhost/storage/gdal_table_store.h"
#include "mbhost_process.h"
#include "served_host.h"
#include "support/gdal_files.h"

namespace mbhost::picture {
namespace {

using veltrano::testing::TempDir;

SurfacePtr readPng(const std::string& path) {
    return SurfacePtr(cairo_image_surface_create_from_png(path.c_str()));
}

std::pair<int, int> sizeOf(const SurfacePtr& png) {
    if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return {0, 0};
    return {cairo_image_surface_get_width(png.get()), cairo_image_surface_get_height(png.get())};
}

// 'w' the white background, 's' the selection's pink, 'i' any other ink.
char inkAt(const SurfacePtr& png, int x, int y) {
    const auto* row =
        cairo_image_surface_get_data(png.get()) + y * cairo_image_surface_get_stride(png.get());
    const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
    const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    if (r + g + b == 765) return 'w';
    return r > 200 && g < 120 && b > 150 ? 's' : 'i';
}

TEST(scale_bar, picks_a_round_length_near_a_quarter_of_the_width_in_the_map_units) {
    for (const auto& [metresPerPixel, width, metres, pixels, label] :
         {std::tuple{2.0, 400, 200.0, 100.0, "200 m"},
          {1000.0, 640, 1e5, 100.0, "100 km"},
          {4.0, 1000, 1000.0, 250.0, "1 km"},
          {0.0, 640, 0.0, 0.0, ""}}) {
        const ScaleBar bar = chooseScaleBar(metresPerPixel, width);
        EXPECT_EQ(std::tuple(bar.metres, bar.pixels, bar.label),
                  std::tuple(metres, pixels, std::string(label)));
    }
}

TEST(map_transform, keeps_the_aspect_and_puts_north_up) {
    const MapTransform toPixels({0, 0, 100, 50}, 200, 200);
    const PixelPoint sw = toPixels({0, 0}), ne = toPixels({100, 50});
    // 50 units at 2 pixels a unit, upwards, centred in the 200 pixels.
    EXPECT_EQ(std::tuple(sw.x, ne.x, sw.y, ne.y), std::tuple(0.0, 200.0, 150.0, 50.0));
    // X units half as long as Y units (lat/long at 60 degrees): the tall view decides the scale.
    const MapTransform stretched({0, 0, 100, 100}, 200, 200, 0.5);
    const PixelPoint low = stretched({0, 0}), high = stretched({100, 100});
    EXPECT_EQ(std::tuple(low.x, high.x, low.y, high.y), std::tuple(50.0, 150.0, 200.0, 0.0));
}

// 200 x 200 pixels over 100 x 100 metres: a region with a hole, a label, two lines (the upper
// one selected), a point.
MapSnapshot sample() {
    const std::vector<Point> outer{{10, 20}, {40, 20}, {40, 50}, {10, 50}};
    const std::vector<Point> hole{{20, 30}, {30, 30}, {30, 40}, {20, 40}};
    MapLayer layer{"sample",
                   {{ObjectType::Region, {outer, hole}, "", {}},
                    {ObjectType::Text, {{{50, 80}, {90, 85}}}, "Мост Ωμέγα <&>\"", {}},
                    Geometry::line({50, 70}, {90, 70}),
                    Geometry::line({50, 60}, {90, 60}),
                    Geometry::point(75, 25)},
                   {false, false, true, false, false}};
    return {"sample", "NonEarth Units \"m\"", false, 1, {0, 0, 100, 100}, 200, 200, {layer}};
}

TEST(map_picture_renderer, draws_fill_holes_labels_selection_and_scale_bar_in_every_type) {
    TempDir dir;
    MapPictureRenderer renderer;
    for (const auto& [name, magic] :
         {std::pair{"map.png", "\x89PNG"}, {"map.SVG", "<?xml"}, {"map.pdf", "%PDF-"}}) {
        renderer.render(sample(), dir.file(name));
        EXPECT_EQ(mbhost::testing::readFile(dir.file(name)).rfind(magic, 0), 0u) << name;
    }
    const auto png = readPng(dir.file("map.png"));
    ASSERT_EQ(sizeOf(png), (std::pair{200, 200}));
    for (const auto& [x, y, ink] : {std::tuple{30, 110, 'i'},  // the region's fill
                                    {50, 130, 'w'},            // its hole
                                    {140, 58, 's'},      // beside the selected line: its highlight
                                    {140, 78, 'w'},      // beside the other line: nothing
                                    {30, 190, 'i'},      // the scale bar
                                    {5, 5, 'w'},         // the background
                                    {151, 151, 'i'}}) {  // the point's marker
        EXPECT_EQ(inkAt(png, x, y), ink) << x << "," << y;
    }
    int labelInk = 0;  // the label's baseline starts at (100, 40)
    for (int x = 100; x < 130; ++x) {
        for (int y = 30; y < 40; ++y) labelInk += inkAt(png, x, y) != 'w';
    }
    EXPECT_GT(labelInk, 30);
    CPLXMLNode* svg = CPLParseXMLString(mbhost::testing::readFile(dir.file("map.SVG")).c_str());
    EXPECT_NE(svg, nullptr);
    CPLDestroyXMLNode(svg);
}

// An island stepping from 170 to -170 and back, as data split at the antimeridian store it,
// and a line doing the same further south: each drawn where it lies, at both edges of the
// world, and nothing across the map between.
TEST(map_picture_renderer, draws_what_steps_across_the_antimeridian_at_both_edges_only) {
    TempDir dir;
    const std::vector<Point> island{{170, 10},  {180, 10},  {-180, 10}, {-170, 10},
                                    {-170, 30}, {-180, 30}, {180, 30},  {170, 30}};
    MapLayer layer{"wrapped",
                   {{ObjectType::Region, {island}, "", {}},
                    {ObjectType::Polyline, {{{170, -20}, {-170, -20}}}, "", {}}},
                   {false, false}};
    const std::string path = dir.file("world.png");
    MapPictureRenderer().render(
        {"world", "Earth Projection 1, 104", true, 111320, {-180, -40, 180, 40}, 360, 80, {layer}},
        path);
    const auto png = readPng(path);
    ASSERT_EQ(sizeOf(png), (std::pair{360, 80}));
    for (const auto& [x, y, ink] : {std::tuple{5, 20, 'i'},  // the island at -175
                                    {355, 20, 'i'},          // and at 175
                                    {180, 20, 'w'},          // nothing at 0 between them
                                    {5, 60, 'i'},            // the line at -175
                                    {180, 60, 'w'}}) {       // and nothing at 0
        EXPECT_EQ(inkAt(png, x, y), ink) << x << "," << y;
    }
}

TEST(map_picture_renderer, refuses_unknown_types_impossible_sizes_and_unwritable_paths_whole) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken.png"));
    std::filesystem::create_directory(dir.file("ro"));  // refused even to root
    std::filesystem::permissions(dir.file("ro"), std::filesystem::perms(0555));
    MapPictureRenderer renderer;
    for (const auto& [name, width] : {std::pair{"map.bmp", 10},
                                      {"map.png", 0},
                                      {"no/such/folder/map.png", 10},
                                      {"taken.png", 10},
                                      {"ro/map.png", 10}}) {
        MapSnapshot map;
        map.widthPixels = width;
        map.heightPixels = 10;
        EXPECT_THROW(renderer.render(map, dir.file(name)), std::runtime_error) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// The box of the land's green (fill and edge) in a PNG: {left, top, right, bottom}, or all -1.
std::array<int, 4> landBox(const SurfacePtr& png) {
    std::array<int, 4> box{-1, -1, -1, -1};
    const auto [width, height] = sizeOf(png);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto* row = cairo_image_surface_get_data(png.get()) +
                              y * cairo_image_surface_get_stride(png.get());
            const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
            const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (!(g > r + 10 && g > b + 10)) continue;
            if (box[0] < 0) box = {x, y, x, y};
            box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                   std::max(box[3], y)};
        }
    }
    return box;
}

// Every point of the SVG's drawn paths (glyph shapes, kept in defs, aside).
void pathPoints(CPLXMLNode* node, std::vector<double>& xs, std::vector<double>& ys) {
    for (; node != nullptr; node = node->psNext) {
        // A clipped group (a shape drawn across the antimeridian) shows only inside the clip.
        if (node->eType != CXT_Element || std::string(node->pszValue) == "defs" ||
            CPLGetXMLValue(node, "clip-path", nullptr)) {
            continue;
        }
        if (std::string(node->pszValue) == "path") {
            std::istringstream d(CPLGetXMLValue(node, "d", ""));
            std::string word;
            std::vector<double> numbers;
            while (d >> word) {
                if (std::isdigit(static_cast<unsigned char>(word.back()))) {
                    numbers.push_back(std::stod(word));
                }
            }
            for (std::size_t i = 0; i + 1 < numbers.size(); i += 2) {
                xs.push_back(numbers[i]);
                ys.push_back(numbers[i + 1]);
            }
        }
        pathPoints(node->psChild, xs, ys);
    }
}

// Real boundaries (tests/integration/data/world-atlas): Natural Earth countries, tall, wide,
// on two continents and across the antimeridian, are drawn whole, filling the picture along
// their longer side, a degree of longitude shortened by the cosine of the middle latitude.
TEST(map_window, frames_real_countries_whole_in_their_proportions) {
    TempDir dir;
    Host host;
    host.setTableStore(std::make_shared<gdal::GdalTableStore>());
    host.setMapRenderer(std::make_shared<MapPictureRenderer>());
    // The TopoJSON names no system; it is longitude/latitude on WGS 84.
    veltrano::testing::translate(std::string(VELTRANO_SOURCE_DIR) +
                                     "/tests/integration/data/world-atlas/countries-110m.json",
                                 dir.file("countries.gpkg"), 4326,
                                 {"-a_srs", "EPSG:4326", "countries"});
    host.execute("Open Table \"" + dir.file("countries.gpkg") + "\" As c");
    const auto save = [&](const std::string& file) {
        host.execute("Save Window FrontWindow() As \"" + dir.file(file) +
                     "\" Width 8 Height 5 Resolution 50");
    };
    for (const char* names : {"name = \"Chile\"", "name = \"Russia\"",
                              "name = \"Chile\" Or name = \"Japan\" Or name = \"Norway\"",
                              "name = \"Vatican\" Or name = \"Indonesia\""}) {
        host.execute(std::string("Select * From c Where ") + names + " Into picked");
        double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
        host.execute("Fetch First From picked");
        while (host.eval("EOT(picked)") == "F") {
            const auto geography = [&](int code) {
                return std::stod(
                    host.eval("ObjectGeography(picked.obj, " + std::to_string(code) + ")"));
            };
            minX = std::min(minX, geography(1)), minY = std::min(minY, geography(2));
            maxX = std::max(maxX, geography(3)), maxY = std::max(maxY, geography(4));
            host.execute("Fetch Next From picked");
        }
        host.execute("Map From picked");
        save("map.png");
        const SurfacePtr png = readPng(dir.file("map.png"));
        const auto [left, top, right, bottom] = landBox(png);
        EXPECT_TRUE(left > 0 && top > 0 && right < 399 && bottom < 249) << names;
        const double across = right - left + 1, up = bottom - top + 1;
        EXPECT_TRUE(across > 0.85 * 400 || up > 0.85 * 250) << names << " " << across << "x" << up;
        const double cosine = std::cos((minY + maxY) / 2 * M_PI / 180);
        EXPECT_NEAR(across / up, (maxX - minX) * cosine / (maxY - minY), 0.05 * across / up)
            << names;
        // The scale bar, along its baseline, as long as its metres at the land's own scale.
        const double metresPerPixel = (maxY - minY) * 111320 / up;
        int bar = 0;
        while (inkAt(png, 10 + bar, 240) == 'i') ++bar;
        EXPECT_NEAR(bar, chooseScaleBar(metresPerPixel, 400).pixels, 4) << names;
        save("map.svg");
        CPLXMLNode* svg = CPLParseXMLString(mbhost::testing::readFile(dir.file("map.svg")).c_str());
        std::vector<double> xs, ys;
        pathPoints(svg, xs, ys);
        CPLDestroyXMLNode(svg);
        ASSERT_FALSE(xs.empty()) << names;
        const auto [leftmost, rightmost] = std::ranges::minmax(xs);
        const auto [topmost, lowest] = std::ranges::minmax(ys);
        EXPECT_TRUE(leftmost > 0 && rightmost < 400 && topmost > 0 && lowest < 250) << names;
        host.execute("Close Table picked");
    }
    // A single point: a map around it, the marker in the middle.
    host.execute(
        "Create Table one (id Integer)\nCreate Map For one CoordSys Earth Projection 1, "
        "104\nInsert Into one (obj) Values (CreatePoint(30, 60))\nMap From one");
    save("one.png");
    EXPECT_EQ(inkAt(readPng(dir.file("one.png")), 200, 125), 'i');
}

TEST(demo_workspace, its_map_is_saved_as_a_png_of_the_requested_size) {
    TempDir dir;
    const std::string demo = std::string(VELTRANO_SOURCE_DIR) + "/demo";
    std::filesystem::create_directory(dir.file("demo"));
    for (const char* script : {"generate.mb", "startup.mb"}) {
        std::filesystem::copy_file(demo + "/" + script, dir.file("demo/") + script);
    }
    std::filesystem::create_directory(dir.file("demo/data"));
    const std::string picture = dir.file("demo.png");
    std::ofstream(dir.file("save.mb")) << "Save Window FrontWindow() As \"" << picture
                                       << "\" Width 8 Height 6 Resolution 80\nEnd MapInfo\n";
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto done =
        mbhost::testing::runMbhost({"--socket", dir.file("socket"), "--script", "demo/generate.mb",
                                    "--script", "demo/startup.mb", "--script", "save.mb"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, "Demo workspace ready: 2 roads selected\n");
    EXPECT_EQ(sizeOf(readPng(picture)), (std::pair{640, 480}));
}

}  // namespace
}  // namespace mbhost::picture
