// The label box of a placed point: the offsets as they stand in a projected or NonEarth
// table, the same ground size in a longitude/latitude one.
#include "engine/label_box.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/placement_texts.h"
#include "reference_geodesy.h"

namespace veltrano {
namespace {

using mbhost::Point;
using mbhost::testing::referenceDistance;
using mbhost::testing::SampleSystem;

constexpr const char* kLatLong = "CoordSys Earth Projection 1, 104";

TEST(label_box, projected_and_non_earth_tables_keep_the_offsets) {
    for (const char* clause : {"CoordSys Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0",
                               "CoordSys NonEarth Units \"m\" Bounds (0, 0) (5000, 5000)"}) {
        const LabelExtent box = labelExtent(clause, 2000);
        EXPECT_EQ(placement_text::createLabel("v", "M = 25", 1025, 2000, box.east, box.north),
                  "Create Text into Variable v \"M = 25\" (1025, 2000 ) ( 1125, 2025 )  ")
            << clause;
    }
}

TEST(label_box, a_lat_long_box_spans_100_by_25_metres_on_the_ground) {
    for (const double latitude : {0.0, 60.0, -80.0, 80.0}) {
        const LabelExtent box = labelExtent(kLatLong, latitude);
        const Point at{37.5, latitude};
        const auto metresTo = [&](Point corner) {
            return referenceDistance(SampleSystem::LatLong, at, corner);
        };
        EXPECT_NEAR(metresTo({at.x + box.east, at.y}), 100, 1) << latitude;
        EXPECT_NEAR(metresTo({at.x, at.y + box.north}), 25, 1) << latitude;
    }
    const LabelExtent pole = labelExtent(kLatLong, 90);
    EXPECT_TRUE(std::isfinite(pole.east) && pole.east < 10);
}

}  // namespace
}  // namespace veltrano
