#include <gdal_priv.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "automation/inprocess/inprocess_automation.h"
#include "foundation/run_time_error.h"
#include "gdal_table_store.h"
#include "map_painter.h"
#include "map_picture_renderer.h"
#include "mbhost_process.h"
#include "png_file.h"
#include "raster.h"
#include "served_host.h"
#include "svg_canvas.h"

namespace mbhost::picture {
namespace {

using veltrano::testing::TempDir;

constexpr Colour kRed{255, 0, 0};
constexpr Colour kWhite{255, 255, 255};

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

// The picture GDAL's own PNG reader finds in the file; nothing when it cannot read it.
std::optional<Decoded> readPng(const std::string& path) {
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    std::unique_ptr<GDALDataset> png(static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER, nullptr, nullptr, nullptr)));
    CPLPopErrorHandler();
    if (!png || !EQUAL(png->GetDriverName(), "PNG") || png->GetRasterCount() != 4) return {};
    Decoded d{png->GetRasterXSize(), png->GetRasterYSize(), {}};
    d.rgba.resize(static_cast<std::size_t>(d.width) * d.height * 4);
    if (png->RasterIO(GF_Read, 0, 0, d.width, d.height, d.rgba.data(), d.width, d.height, GDT_Byte,
                      4, nullptr, 4, 4 * d.width, 1, nullptr) != CE_None) {
        return {};
    }
    return d;
}

std::pair<int, int> sizeOf(const std::optional<Decoded>& png) {
    return png ? std::pair{png->width, png->height} : std::pair{0, 0};
}

TEST(raster, fills_even_odd_so_a_hole_stays_empty_and_draws_lines_wide_and_clipped) {
    Raster raster(40, 40);
    raster.fillBackground(kWhite);
    raster.polygon({{{5, 5}, {35, 5}, {35, 35}, {5, 35}}, {{15, 15}, {25, 15}, {25, 25}, {15, 25}}},
                   kRed, kRed, 1);
    raster.polyline({{-100, 30.5}, {100, 30.5}}, kRed, 5);  // along the centres of row 30
    for (const auto& [x, y, colour] : {std::tuple{10, 10, kRed},
                                       {20, 20, kWhite},
                                       {2, 2, kWhite},
                                       {38, 20, kWhite},
                                       {0, 30, kRed},
                                       {39, 28, kRed},
                                       {39, 32, kRed},
                                       {39, 27, kWhite},
                                       {39, 33, kWhite}}) {
        EXPECT_EQ(raster.at(x, y), colour) << x << "," << y;
    }
    EXPECT_THROW(Raster(0, 10), std::invalid_argument);
    EXPECT_THROW(Raster(10, Raster::kMaxSide + 1), std::invalid_argument);
}

TEST(png_file, gdal_decodes_it_to_exactly_the_pixels) {
    Raster raster(3, 2);
    raster.fillBackground(kWhite);
    raster.polyline({{-1, 1.5}, {2, 1.5}}, kRed, 1);  // the rows differ, and the columns
    TempDir dir;
    std::ofstream(dir.file("p.png"), std::ios::binary) << encodePng(raster);
    const auto png = readPng(dir.file("p.png"));
    EXPECT_EQ(sizeOf(png), (std::pair{3, 2}));
    EXPECT_EQ(png.value_or(Decoded{}).rgba, raster.pixels());
}

TEST(scale_bar, picks_a_round_length_near_a_quarter_of_the_width_in_the_map_units) {
    for (const auto& [metresPerPixel, width, metres, pixels, label] :
         {std::tuple{2.0, 400, 200.0, 100.0, "200 m"},
          {1000.0, 640, 1e5, 100.0, "100 km"},
          {0.0, 640, 0.0, 0.0, ""}}) {
        const ScaleBar bar = chooseScaleBar(metresPerPixel, width);
        EXPECT_EQ(bar.metres, metres);
        if (metres) {
            EXPECT_EQ(std::pair(bar.pixels, bar.label), std::pair(pixels, std::string(label)));
        }
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

TEST(svg_canvas, escapes_labels_and_declares_the_size) {
    SvgCanvas svg(320, 200);
    svg.text({1, 2}, "A&B <Мост>", kRed);
    const std::string document = svg.document();
    EXPECT_NE(document.find("width=\"320\" height=\"200\""), std::string::npos);
    EXPECT_NE(document.find(">A&amp;B &lt;Мост&gt;</text>"), std::string::npos);
}

TEST(map_picture_renderer, refuses_unknown_types_and_impossible_sizes) {
    TempDir dir;
    MapSnapshot map;
    map.widthPixels = 10;
    map.heightPixels = 10;
    MapPictureRenderer renderer;
    EXPECT_THROW(renderer.render(map, dir.file("map.bmp")), std::runtime_error);
    map.widthPixels = 0;
    EXPECT_THROW(renderer.render(map, dir.file("map.png")), std::runtime_error);
    map.widthPixels = 10;
    EXPECT_THROW(renderer.render(map, dir.file("no/such/folder/map.png")), std::runtime_error);
}

TEST(map_picture_renderer, draws_selected_roads_highlighted_over_unselected_ones) {
    TempDir dir;
    auto host = std::make_shared<Host>();
    host->setMapRenderer(std::make_shared<MapPictureRenderer>());
    veltrano::InProcessAutomation automation(host);
    automation.Do("Create Table roads (name Char(10))");
    automation.Do("Create Map For roads CoordSys Earth Projection 1, 104");
    automation.Do("Dim r As Object");
    automation.Do("Create Line Into Variable r (37.0, 55.0) (38.0, 55.0)");
    automation.Do("Insert Into roads (obj, name) Values (r, \"south\")");
    automation.Do("Create Line Into Variable r (37.0, 56.0) (38.0, 56.0)");
    automation.Do("Insert Into roads (obj, name) Values (r, \"north\")");
    automation.Do("Map From roads");
    automation.Do("Select * From roads Where name = \"north\"");
    const std::string path = dir.file("roads.png");
    automation.Do("Save Window FrontWindow() As \"" + path + "\" Width 4 Height 3 Resolution 50");
    EXPECT_EQ(sizeOf(readPng(path)), (std::pair{200, 150}));
    automation.Do("Save Window FrontWindow() As \"" + dir.file("roads.svg") + "\"");
    const std::string svg = mbhost::testing::readFile(dir.file("roads.svg"));
    // One highlighted stroke under the selected road, none under the other.
    EXPECT_EQ(svg.find("stroke=\"#ff00c8\""), svg.rfind("stroke=\"#ff00c8\""));
    EXPECT_NE(svg.find("stroke=\"#ff00c8\""), std::string::npos);
    EXPECT_THROW(automation.Do("Save Window FrontWindow() As \"" + path + "\" Width 0"),
                 veltrano::RunTimeError);
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
