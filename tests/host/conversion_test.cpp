// How Eval, SystemInfo, TableInfo, WindowInfo and MapperInfo turn the host's text answers
// into host values, under a point and a comma as the regional decimal separator.
#include <gtest/gtest.h>

#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

enum class Query { Eval, SystemInfo, TableInfo, WindowInfo, MapperInfo };

// Each query with the text it sends, in the order of Query.
const std::pair<const char*, HostValue (*)(miProObj&)> kQueries[] = {
    {"x", [](miProObj& o) { return o.Eval("x"); }},
    {"SystemInfo(30)", [](miProObj& o) { return o.SystemInfo(30); }},
    {"TableInfo(roads,19) ", [](miProObj& o) { return o.TableInfo("roads", 19); }},
    {"WindowInfo(77,4)", [](miProObj& o) { return o.WindowInfo(77, 4); }},
    {"MapperInfo(77,2)", [](miProObj& o) { return o.MapperInfo(77, 2); }}};

TEST(conversions, answers_become_whole_numbers_reals_texts_or_null_in_every_region) {
    using V = HostValue;
    // clang-format off
    const struct {
        Query query;
        const char* answer;
        HostValue expected;
    } rows[] = {
        {Query::Eval, "12", V::whole(12)}, {Query::Eval, "-7", V::whole(-7)},
        {Query::Eval, "3.25", V::real(3.25)}, {Query::Eval, "0.0", V::real(0.0)},
        {Query::Eval, "T", V::text("T")}, {Query::Eval, "", V::text("")},
        {Query::Eval, "/data/roads.tab", V::text("/data/roads.tab")},
        {Query::Eval, "-4.0000000000000002E+01", V::real(-40.0)},
        {Query::Eval, "7E", V::text("7E")},  // an exponent without digits is no number
        {Query::Eval, "1,5", V::real(1.0)},  // read only to the comma
        {Query::Eval, "123456789012", V::null()}, {Query::Eval, "2147483647", V::whole(2147483647)},
        {Query::SystemInfo, "0.0", V::whole(0)},  // the infos turn a real zero whole
        {Query::SystemInfo, "12", V::whole(12)}, {Query::SystemInfo, "3.25", V::real(3.25)},
        {Query::SystemInfo, "C:\\maps\\roads.TAB", V::text("C:\\maps\\roads.TAB")},
        {Query::SystemInfo, "123456789012", V::null()},
        {Query::TableInfo, "T", V::text("T")}, {Query::TableInfo, "3", V::whole(3)},
        {Query::TableInfo, "0.5", V::real(0.5)}, {Query::TableInfo, "-0.0", V::whole(0)},
        {Query::TableInfo, "/data/roads.tab", V::text("/data/roads.tab")},
        {Query::TableInfo, "123456789012", V::null()},
        {Query::WindowInfo, "0.0", V::whole(0)}, {Query::WindowInfo, "6.5", V::real(6.5)},
        {Query::WindowInfo, "roads Map", V::text("roads Map")},
        {Query::MapperInfo, "50000.5", V::real(50000.5)}, {Query::MapperInfo, "12", V::whole(12)}};
    // clang-format on
    for (const auto& settings :
         {FixedRegionalSettings::pointLocale(), FixedRegionalSettings::commaLocale()}) {
        ConnectedLink f(settings);
        for (const auto& row : rows) {
            const auto& [asked, call] = kQueries[static_cast<int>(row.query)];
            f.host->answer(asked, row.answer);
            EXPECT_EQ(call(*f.obj), row.expected)
                << row.answer << " to query " << static_cast<int>(row.query) << " under "
                << static_cast<int>(settings.decimalSeparator());
        }
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(value_conversions, whole_numbers_round_halves_to_even_and_reject_bad_values) {
    const auto regional = FixedRegionalSettings::commaLocale();
    const AnswerReader reader(regional);
    EXPECT_EQ(reader.toWhole(HostValue::real(2.5)), 2);
    EXPECT_EQ(reader.toWhole(HostValue::real(3.5)), 4);
    EXPECT_EQ(reader.toWhole(HostValue::text("1,5")), 2);  // the user's own decimal comma
    EXPECT_EQ(reader.toWhole(HostValue()), 0);
    const std::pair<HostValue, std::int32_t> bad[] = {{HostValue::null(), err::kInvalidUseOfNull},
                                                      {HostValue::text("abc"), err::kTypeMismatch},
                                                      {HostValue::real(3e9), err::kOverflow}};
    for (const auto& [value, number] : bad) {
        EXPECT_EQ(errorNumberOf([&] { reader.toWhole(value); }), number);
    }
    EXPECT_DOUBLE_EQ(reader.hostNumber(HostValue::real(10.75)), 10.75);
    EXPECT_DOUBLE_EQ(reader.hostNumber(HostValue::text("10.75")), 10.75);
    EXPECT_EQ(reader.toText(HostValue::real(10.75)), "10,75");  // shown to the user
}

TEST(value_conversions, upper_case_folds_latin_and_cyrillic_letters) {
    EXPECT_EQ(upperCase("c:/Карты/roads.tab ёлка é"), "C:/КАРТЫ/ROADS.TAB ЁЛКА É");
    EXPECT_EQ(upperCase(std::string("\xff") + "a"), std::string("\xff") + "A");  // kept as it is
}

}  // namespace
}  // namespace veltrano::testing
