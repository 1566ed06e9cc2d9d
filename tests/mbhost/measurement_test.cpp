// Measurement against independent computations, and host number texts that read back to the
// same double.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <tuple>

#include "engine/mapbasic_texts.h"
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

std::string pointList(const std::vector<Point>& points) {
    std::string out;
    for (const Point& p : points) out += " (" + exact(p.x) + ", " + exact(p.y) + ")";
    return out;
}

std::string distanceText(Point a, Point b, const std::string& unit) {
    return "Distance(" + exact(a.x) + ", " + exact(a.y) + ", " + exact(b.x) + ", " + exact(b.y) +
           ", \"" + unit + "\")";
}

TEST(distance, agrees_with_independent_references_in_every_system_and_unit) {
    Session s;
    s.run("Set CoordSys Table roads");
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> lon(-180, 180), lat(-89.9, 89.9);
    for (int i = 0; i < 1000; ++i) {
        const Point a{lon(random), lat(random)}, b{lon(random), lat(random)};
        ASSERT_NEAR(s.askNumber(distanceText(a, b, "m")),
                    referenceDistance(SampleSystem::LatLong, a, b), 1e-6)
            << distanceText(a, b, "m");
    }
    const Point a{500000, 7000000}, b{500600, 7000800};
    const std::tuple<const char*, const char*, double> rows[] = {
        {"Table fields", "m", referenceDistance(SampleSystem::Utm, a, b)},
        {"NonEarth Units \"ft\" Bounds (0, 0) (1000, 1000)", "m", 304.8},
        {"Table plan", "m", 1000},
        {"Table plan", "km", 1},
        {"Table plan", "mi", 1000 / 1609.344}};
    for (const auto& [system, unit, expected] : rows) {
        s.run(std::string("Set CoordSys ") + system);
        EXPECT_NEAR(s.askNumber(distanceText(a, b, unit)), expected, 1e-9 * expected)
            << system << " " << unit;
    }
}

// Random polylines and regions of two sections: the length is the sum of the segment
// distances, the perimeter adds each polygon's closing edge; neither applies to the other.
TEST(object_length_and_perimeter, sum_the_segment_distances_of_every_section) {
    Session s;
    s.run("Set CoordSys Table roads\r\nDim p As Object");
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> lon(20, 21), lat(50, 51);
    for (int trial = 0; trial < 20; ++trial) {
        std::string sections;
        double open = 0, closing = 0;
        for (int section = 0; section < 2; ++section) {
            std::vector<Point> nodes;
            for (int n = 0; n < 4; ++n) nodes.push_back({lon(random), lat(random)});
            for (int n = 1; n < 4; ++n)
                open += referenceDistance(SampleSystem::LatLong, nodes[n - 1], nodes[n]);
            closing += referenceDistance(SampleSystem::LatLong, nodes[3], nodes[0]);
            sections += " 4" + pointList(nodes);
        }
        s.run("Create Pline Into Variable p Multiple 2" + sections);
        EXPECT_NEAR(s.askNumber("ObjectLen(p, \"m\")"), open, 1e-6);
        EXPECT_EQ(s.askNumber("Perimeter(p, \"m\")"), 0);
        s.run("Create Region Into Variable p 2" + sections);
        EXPECT_NEAR(s.askNumber("Perimeter(p, \"m\")"), open + closing, 1e-6);
        EXPECT_EQ(s.askNumber("ObjectLen(p, \"m\")"), 0);
    }
    // A closing node repeated in the text is not kept.
    s.run("Create Region Into Variable p 1 4 (20, 40) (20.2, 40) (20.2, 40.3) (20, 40)");
    EXPECT_EQ(s.ask("ObjectInfo(p, 22)"), "3");
}

TEST(host_number_text, reads_back_to_the_same_double) {
    Session s;
    s.run("Set CoordSys Table plan\r\nDim p As Object");
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7);
    std::uniform_int_distribution<int> scale(-12, 6);
    const std::regex shape("-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,3}|0E\\+00");
    for (int i = 0; i < 10000; ++i) {
        const double x = coordinate(random) * std::pow(10.0, scale(random));
        const double y = coordinate(random);
        s.run("p = CreatePoint(" + exact(x) + ", " + exact(y) + ")");
        const std::string answer = s.ask(mapbasic_text::lineEnd("p", 1, 2));
        const auto semi = answer.find(';');
        const std::string xt = answer.substr(0, semi), yt = answer.substr(semi + 1);
        // The shortest digits, one before the point, a signed exponent of two digits or more.
        ASSERT_TRUE(std::regex_match(xt, shape)) << xt;
        ASSERT_EQ(std::strtod(xt.c_str(), nullptr), x) << xt;
        ASSERT_EQ(std::strtod(yt.c_str(), nullptr), y) << yt;
        // Pasted back into an expression, the text is the same double again.
        ASSERT_EQ(s.ask("Format$(" + xt + "," + mapbasic_text::kPicture + ")"), xt);
    }
}

TEST(format_picture, general_pictures_and_shortest_real_texts) {
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
        {12345.678, "0.00E-00", "1.23E04"},
        {1e-300, "#0.######################E+00", "1E-300"},
        {42, "Total: #", "Total: 42"},
    };
    for (const auto& r : rows) EXPECT_EQ(formatPicture(r.value, r.picture), r.text) << r.picture;
    const std::pair<double, const char*> reals[] = {
        {4, "4"}, {0.1, "0.1"}, {-2.5, "-2.5"}, {1e22, "1E+22"}, {1.5e-7, "1.5E-07"}};
    for (const auto& [value, text] : reals) EXPECT_EQ(realText(value), text);
    EXPECT_EQ(std::strtod(realText(0.1 + 0.2).c_str(), nullptr), 0.1 + 0.2);
}

}  // namespace
}  // namespace mbhost::testing
