// The description of the host's selection that the dialog shows.
#include "support/dialog_fixture.h"

namespace veltrano::testing {
namespace {

const std::string kSeparator = "\r\n  --------------- \r\n";

std::string head(int count) {
    return "---  Selection :: [Query1] --- \r\n" + std::to_string(count) +
           " Object(s) from  [Roads]:\r\nCoordSys Earth Projection 1, 104]:\r\n";
}

// Each kind of object with its own line; the count stops at the end of the table and is
// read beyond 16 bits; lengths follow the regional format.
TEST(selection_summary, one_entry_per_object_in_the_regional_format) {
    const auto point = FixedRegionalSettings::pointLocale();
    const auto comma = FixedRegionalSettings::commaLocale();
    const struct {
        std::vector<SelectedObject> objects;
        std::int32_t rows;
        FixedRegionalSettings regional;
        std::string entries;
    } rows[] = {
        {{{"Polyline", 11, 3, 1234.567}, {"Region", 9, 2, 500.0}},
         2,
         point,
         " 1. {Polyline} - 11 Points in 3 Segment(s)\r\n with Length = 1,234.57 m" + kSeparator +
             " 2. {Region} - 9 Points in 2 Segment(s)\r\n with Perimeter = 500.00 m" + kSeparator},
        {{{"Polyline", 2, 1, 1234.567}},
         1,
         comma,
         " 1. {Polyline} - 2 Points in 1 Segment(s)\r\n with Length = 1 234,57 m" + kSeparator},
        {{{"Line", 2, 1, 42.0}},
         1,
         point,
         " 1. {Line} - 2 Points in 1 Segment\r\n with Length = 42.00 m" + kSeparator},
        {{{"Point"}, {"Point"}}, 5, point, " 1. {Point}" + kSeparator + " 2. {Point}" + kSeparator},
        {{{"Point"}}, 40000, point, " 1. {Point}" + kSeparator}};
    for (const auto& row : rows) {
        DialogFixture f(row.regional);
        f.select(row.objects);
        f.selectedRows = row.rows;
        f.form().load();
        ASSERT_EQ(f.view.summary, head(row.rows) + row.entries);

        f.view.summary += "\r\n ** 3 points allocated.";
        f.form().cmdRefreshMIClick();
        EXPECT_EQ(f.view.summary, head(row.rows) + row.entries);
    }
}

}  // namespace
}  // namespace veltrano::testing
