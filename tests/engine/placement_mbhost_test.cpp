// The engine's label box on real geodesy: its ground size checked with PROJ. Placement end to
// end is checked against PROJ by the file mode's tests, and the MapBasic texts against the
// direct placement point for point by the placement tests.
#include <gtest/gtest.h>

#include "engine/label_box.h"
#include "reference_geodesy.h"

namespace veltrano::testing {
namespace {

double geodesicM(const mbhost::Point& a, const mbhost::Point& b) {
    return mbhost::testing::referenceDistance(mbhost::testing::SampleSystem::LatLong, a, b);
}

// A label in a lat/long table spans 100 by 25 metres on the ground at every latitude.
TEST(label_box, spans_100_by_25_metres_on_the_ground) {
    const char* latLong = "CoordSys Earth Projection 1, 104";
    EXPECT_LT(labelExtent(latLong, 90).east, 10) << "finite at the pole";
    for (const double y : {0.0, 60.0, -80.0, 80.0}) {
        const LabelExtent box = labelExtent(latLong, y);
        const auto metresTo = [y](double east, double north) {
            return geodesicM({37.5, y}, {37.5 + east, y + north});
        };
        EXPECT_NEAR(metresTo(box.east, 0), 100, 1) << y;
        EXPECT_NEAR(metresTo(0, box.north), 25, 1) << y;
    }
}

}  // namespace
}  // namespace veltrano::testing
