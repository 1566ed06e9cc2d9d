// Typed distances under the portable regional settings, and what the dialog writes back.
#include "dialog_fixture.h"
#include "support/typed_distances.h"

namespace veltrano::testing {
namespace {

FixedRegionalSettings fixedFor(std::string_view locale) {
    if (locale == "ru-RU") return FixedRegionalSettings::russia();
    return locale == "de-DE" ? FixedRegionalSettings::germany()
                             : FixedRegionalSettings::unitedStates();
}

TEST(typed_distance, reads_alike_under_the_portable_settings) {
    expectTypedDistances(fixedFor);
}

TEST(typed_distance, the_dialog_writes_back_what_it_read) {
    const struct {
        const char* locale;
        const char* typed;
        const char* shown;
    } rows[] = {{"en-US", "1,000;2,5", "2\r\n1000"}, {"de-DE", "2.500;1.50", "1,5\r\n2500"}};
    for (const auto& row : rows) {
        DialogFixture f(fixedFor(row.locale));
        f.openTables({{"Roads", 1, false}, {"Out", 1, false}});
        f.select({{"Polyline", 3, 1, 100.0}});
        f.form().load();
        f.view.outputTable = "Out";
        f.view.points = row.typed;
        f.form().cmdOKClick();
        EXPECT_EQ(f.view.points, row.shown) << row.locale;
    }
}

}  // namespace
}  // namespace veltrano::testing
