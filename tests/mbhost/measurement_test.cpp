// Measurement against independent computations, and host number texts that read back to the
// same double.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "mbhost/number_format.h"
#include "reference_geodesy.h"
#include "session.h"

namespace mbhost::testing {
namespace {

std::string exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

TEST(distance, agrees_with_geod_inverse_on_random_wgs84_pairs) {
    Session s;
    s.run("Set CoordSys Table roads");
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> lon(-180, 180), lat(-89.9, 89.9);
    for (int i = 0; i < 1000; ++i) {
        const Point a{lon(random), lat(random)}, b{lon(random), lat(random)};
        const std::string text = "Distance(" + exact(a.x) + ", " + exact(a.y) + ", " + exact(b.x) +
                                 ", " + exact(b.y) + ", \"m\")";
        ASSERT_NEAR(s.askNumber(text), referenceDistance(SampleSystem::LatLong, a, b), 1e-6)
            << text;
    }
}

TEST(distance, is_geodesic_in_a_projected_system_and_cartesian_in_nonearth) {
    Session s;
    s.run("Set CoordSys Table fields");
    const Point a{500000, 7000000}, b{503000, 7004000};
    EXPECT_NEAR(s.askNumber("Distance(500000, 7000000, 503000, 7004000, \"m\")"),
                referenceDistance(SampleSystem::Utm, a, b), 1e-6);
    s.run("Set CoordSys Table plan");
    EXPECT_DOUBLE_EQ(s.askNumber("Distance(0, 0, 300, 400, \"m\")"), 500);
    EXPECT_DOUBLE_EQ(s.askNumber("Distance(0, 0, 300, 400, \"km\")"), 0.5);
}

TEST(distance, converts_to_every_unit) {
    Session s;
    s.run("Set CoordSys NonEarth Units \"m\" Bounds (0, 0) (100000, 100000)");
    const struct {
        const char* unit;
        double metres;
    } units[] = {{"m", 1},         {"km", 1000},
                 {"mi", 1609.344}, {"ft", 0.3048},
                 {"nmi", 1852},    {"cm", 0.01},
                 {"mm", 0.001},    {"in", 0.0254},
                 {"yd", 0.9144},   {"survey ft", 1200.0 / 3937.0}};
    for (const auto& u : units) {
        EXPECT_NEAR(s.askNumber(std::string("Distance(0, 0, 0, 1000, \"") + u.unit + "\")"),
                    1000 / u.metres, 1e-9 * 1000 / u.metres)
            << u.unit;
    }
}

TEST(object_length, is_the_sum_of_segment_distances_per_section) {
    Session s;
    s.run("Set CoordSys Table roads\r\nDim p As Object");
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> lon(20, 21), lat(50, 51);
    for (int trial = 0; trial < 20; ++trial) {
        std::string text = "Create Pline Into Variable p Multiple 2";
        double expected = 0;
        for (int section = 0; section < 2; ++section) {
            text += " 4";
            Point previous{};
            for (int n = 0; n < 4; ++n) {
                const Point p{lon(random), lat(random)};
                text += " (" + exact(p.x) + ", " + exact(p.y) + ")";
                if (n > 0) expected += referenceDistance(SampleSystem::LatLong, previous, p);
                previous = p;
            }
        }
        s.run(text);
        EXPECT_NEAR(s.askNumber("ObjectLen(p, \"m\")"), expected, 1e-6);
        EXPECT_EQ(s.askNumber("Perimeter(p, \"m\")"), 0);  // a polyline has no perimeter
    }
}

TEST(perimeter, includes_each_polygons_closing_edge) {
    Session s;
    s.run("Set CoordSys Table roads\r\nDim r As Object");
    const Point a{10, 50}, b{10.1, 50}, c{10.1, 50.1}, d{20, 40}, e{20.2, 40}, f{20.2, 40.3};
    s.run(
        "Create Region Into Variable r 2 3 (10, 50) (10.1, 50) (10.1, 50.1) 4 (20, 40) (20.2, 40) "
        "(20.2, 40.3) (20, 40)");
    auto dist = [](Point p, Point q) { return referenceDistance(SampleSystem::LatLong, p, q); };
    const double expected =
        dist(a, b) + dist(b, c) + dist(c, a) + dist(d, e) + dist(e, f) + dist(f, d);
    EXPECT_NEAR(s.askNumber("Perimeter(r, \"m\")"), expected, 1e-6);
    EXPECT_EQ(s.ask("ObjectInfo(r, 23)"), "3");  // the repeated closing node is not kept
    EXPECT_EQ(s.askNumber("ObjectLen(r, \"m\")"), 0);
    s.run(
        "Set CoordSys Table plan\r\nCreate Region Into Variable r 1 4 (0, 0) (30, 0) (30, 40) (0, "
        "40)");
    EXPECT_DOUBLE_EQ(s.askNumber("Perimeter(r, \"m\")"), 140);
}

TEST(host_number_text, reads_back_to_the_same_double) {
    Session s;
    s.run("Set CoordSys Table plan\r\nDim p As Object");
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7);
    std::uniform_int_distribution<int> scale(-12, 6);
    for (int i = 0; i < 10000; ++i) {
        const double x = coordinate(random) * std::pow(10.0, scale(random));
        const double y = coordinate(random);
        s.run("p = CreatePoint(" + exact(x) + ", " + exact(y) + ")");
        const std::string answer = s.ask(
            "format$(ObjectGeography( p, 1),\"#0.######################E+00\") + \";\" + "
            "format$(ObjectGeography( p, 2),\"#0.######################E+00\" )");
        const auto semi = answer.find(';');
        const std::string xt = answer.substr(0, semi), yt = answer.substr(semi + 1);
        ASSERT_EQ(std::strtod(xt.c_str(), nullptr), x) << xt;
        ASSERT_EQ(std::strtod(yt.c_str(), nullptr), y) << yt;
        // Pasted back into an expression, the text is the same double again.
        ASSERT_EQ(s.ask("Format$(" + xt + ",\"#0.######################E+00\")"), xt);
    }
}

TEST(format_picture, general_pictures) {
    const struct {
        double value;
        const char* picture;
        const char* text;
    } rows[] = {
        {1234.5678, "#0.00", "1234.57"},
        {1234.5, ",#.##", "1,234.5"},
        {0.5, "#.##", ".5"},
        {0.5, "0.00", "0.50"},
        {-3.25, "#0.0", "-3.3"},
        {0.125, "0%", "13%"},
        {150, "#0.######################E+00", "1.5E+02"},
        {-0.00123, "#0.######################E+00", "-1.23E-03"},
        {0, "#0.######################E+00", "0E+00"},
        {12345.678, "0.00E+00", "1.23E+04"},
        {1e-300, "#0.######################E+00", "1E-300"},
        {42, "Total: #", "Total: 42"},
    };
    for (const auto& r : rows) EXPECT_EQ(formatPicture(r.value, r.picture), r.text) << r.picture;
}

TEST(real_text, shortest_and_exact) {
    EXPECT_EQ(realText(4), "4");
    EXPECT_EQ(realText(0.1), "0.1");
    EXPECT_EQ(realText(-2.5), "-2.5");
    EXPECT_EQ(realText(1e22), "1E+22");
    EXPECT_EQ(realText(1.5e-7), "1.5E-07");
    EXPECT_EQ(std::strtod(realText(0.1 + 0.2).c_str(), nullptr), 0.1 + 0.2);
}

}  // namespace
}  // namespace mbhost::testing
