// The label box in a lat/long table: the ground size at every latitude, the pole too.
#include "engine/label_box.h"

#include <gtest/gtest.h>

#include "reference_geodesy.h"

namespace veltrano {

TEST(label_box, spans_100_by_25_metres_on_the_ground) {
    const char* latLong = "CoordSys Earth Projection 1, 104";
    EXPECT_LT(labelExtent(latLong, 90).east, 10) << "finite at the pole";
    for (const double y : {0.0, 60.0, -80.0, 80.0}) {
        const LabelExtent box = labelExtent(latLong, y);
        const auto metresTo = [y](double east, double north) {
            using namespace mbhost::testing;
            return referenceDistance(SampleSystem::LatLong, {37.5, y}, {37.5 + east, y + north});
        };
        EXPECT_NEAR(metresTo(box.east, 0), 100, 1) << y;
        EXPECT_NEAR(metresTo(0, box.north), 25, 1) << y;
    }
}

}  // namespace veltrano
