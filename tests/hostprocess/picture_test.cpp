#include <cpl_minixml.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "cairo_handles.h"
#include "map_painter.h"
#include "map_picture_renderer.h"
#include "mbhost_process.h"
#include "served_host.h"

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
    const Bounds equator{10, -1, 11, 1}, sixty{10, 59, 11, 61};
    EXPECT_NEAR(metresPerUnit("Earth Projection 1, 104", equator), 111319.5, 1);
    EXPECT_NEAR(metresPerUnit("Earth Projection 1, 104", sixty), 111319.5 / 2, 100);
    EXPECT_EQ(metresPerUnit("Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0", sixty), 1);
    EXPECT_EQ(metresPerUnit("NonEarth Units \"km\" Bounds (0, 0) (10, 10)", sixty), 1000);
    EXPECT_NEAR(metresPerUnit("NonEarth Units \"ft\"", sixty), 0.3048, 1e-12);
}

TEST(map_transform, keeps_the_aspect_and_puts_north_up) {
    const MapTransform toPixels({0, 0, 100, 50}, 200, 200);
    const PixelPoint sw = toPixels({0, 0}), ne = toPixels({100, 50});
    // 50 units at 2 pixels a unit, upwards, centred in the 200 pixels.
    EXPECT_EQ(std::tuple(sw.x, ne.x, sw.y, ne.y), std::tuple(0.0, 200.0, 150.0, 50.0));
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
    return {"sample", "NonEarth Units \"m\"", {0, 0, 100, 100}, 200, 200, {layer}};
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
