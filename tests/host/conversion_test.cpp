// How Eval, SystemInfo, TableInfo, WindowInfo and MapperInfo turn the host's text answers
// into host values, under a point and a comma as the regional decimal separator.
#include <gtest/gtest.h>

#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

struct Locale {
    const char* name;
    FixedRegionalSettings settings;
};

class conversions : public ::testing::TestWithParam<Locale> {
protected:
    void SetUp() override {
        f = std::make_unique<HostLinkFixture>(GetParam().settings);
        f->connectEmptyHost();
    }
    HostValue eval(const std::string& answer) {
        f->host->answer("x", answer);
        return f->obj->Eval("x");
    }
    HostValue systemInfo(const std::string& answer) {
        f->host->answer("SystemInfo(30)", answer);
        return f->obj->SystemInfo(30);
    }
    HostValue tableInfo(const std::string& answer) {
        f->host->answer("TableInfo(roads,19) ", answer);
        return f->obj->TableInfo("roads", 19);
    }
    HostValue windowInfo(const std::string& answer) {
        f->host->answer("WindowInfo(77,4)", answer);
        return f->obj->WindowInfo(77, 4);
    }
    HostValue mapperInfo(const std::string& answer) {
        f->host->answer("MapperInfo(77,2)", answer);
        return f->obj->MapperInfo(77, 2);
    }
    std::unique_ptr<HostLinkFixture> f;
};

TEST_P(conversions, eval_gives_whole_numbers_reals_and_texts) {
    EXPECT_EQ(eval("12"), HostValue::whole(12));
    EXPECT_EQ(eval("-7"), HostValue::whole(-7));
    EXPECT_EQ(eval("3.25"), HostValue::real(3.25));
    EXPECT_EQ(eval("0.0"), HostValue::real(0.0));  // Eval keeps a real zero
    EXPECT_EQ(eval("T"), HostValue::text("T"));
    EXPECT_EQ(eval("/data/roads.tab"), HostValue::text("/data/roads.tab"));
    EXPECT_EQ(eval(""), HostValue::text(""));
    EXPECT_TRUE(f->messages.shown.empty());
}

TEST_P(conversions, eval_reads_a_comma_text_only_to_the_comma) {
    EXPECT_EQ(eval("1,5"), HostValue::real(1.0));
}

TEST_P(conversions, eval_of_a_whole_number_beyond_32_bits_is_null) {
    EXPECT_TRUE(eval("123456789012").isNull());
    EXPECT_EQ(eval("2147483647"), HostValue::whole(2147483647));
    EXPECT_TRUE(f->messages.shown.empty());
}

TEST_P(conversions, system_info_turns_a_real_zero_into_a_whole_zero) {
    EXPECT_EQ(systemInfo("0.0"), HostValue::whole(0));
    EXPECT_EQ(systemInfo("12"), HostValue::whole(12));
    EXPECT_EQ(systemInfo("3.25"), HostValue::real(3.25));
    EXPECT_EQ(systemInfo("C:\\maps\\roads.TAB"), HostValue::text("C:\\maps\\roads.TAB"));
    EXPECT_EQ(systemInfo("/data/roads.tab"), HostValue::text("/data/roads.tab"));
}

TEST_P(conversions, table_info_keeps_logicals_and_paths_as_text) {
    EXPECT_EQ(tableInfo("T"), HostValue::text("T"));
    EXPECT_EQ(tableInfo("F"), HostValue::text("F"));
    EXPECT_EQ(tableInfo("3"), HostValue::whole(3));
    EXPECT_EQ(tableInfo("0.5"), HostValue::real(0.5));
    EXPECT_EQ(tableInfo("-0.0"), HostValue::whole(0));
    EXPECT_EQ(tableInfo("/data/roads.tab"), HostValue::text("/data/roads.tab"));
}

TEST_P(conversions, window_and_mapper_info_convert_as_system_info) {
    EXPECT_EQ(windowInfo("0.0"), HostValue::whole(0));
    EXPECT_EQ(windowInfo("6.5"), HostValue::real(6.5));
    EXPECT_EQ(windowInfo("roads Map"), HostValue::text("roads Map"));
    EXPECT_EQ(mapperInfo("50000.5"), HostValue::real(50000.5));
    EXPECT_EQ(mapperInfo("12"), HostValue::whole(12));
}

TEST_P(conversions, an_info_whole_number_beyond_32_bits_is_null_without_a_message) {
    EXPECT_TRUE(systemInfo("123456789012").isNull());
    EXPECT_TRUE(tableInfo("123456789012").isNull());
    EXPECT_TRUE(f->messages.shown.empty());
}

TEST_P(conversions, an_unconnected_object_gives_each_query_its_own_nothing) {
    f->host->die();
    ASSERT_FALSE(f->obj->isLoaded());
    f->host->clearRequests();
    EXPECT_TRUE(f->obj->Eval("x").isEmpty());
    EXPECT_TRUE(f->obj->SystemInfo(9).isNull());
    EXPECT_TRUE(f->obj->TableInfo("roads", 1).isNull());
    EXPECT_TRUE(f->obj->WindowInfo(1, 1).isEmpty());
    EXPECT_TRUE(f->obj->MapperInfo(1, 1).isEmpty());
    EXPECT_EQ(f->obj->WindowInfoType(1), "");
    EXPECT_EQ(f->obj->NumWindows(), 0);
    EXPECT_EQ(f->obj->NumTables(), 0);
    EXPECT_TRUE(f->messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(regional_settings, conversions,
                         ::testing::Values(Locale{"point", FixedRegionalSettings::pointLocale()},
                                           Locale{"comma", FixedRegionalSettings::commaLocale()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(value_conversions, whole_numbers_round_halves_to_even_and_reject_bad_values) {
    const auto regional = FixedRegionalSettings::commaLocale();
    const AnswerReader reader(regional);
    EXPECT_EQ(reader.toWhole(HostValue::real(2.5)), 2);
    EXPECT_EQ(reader.toWhole(HostValue::real(3.5)), 4);
    EXPECT_EQ(reader.toWhole(HostValue::text("1,5")), 2);  // the user's own decimal comma
    EXPECT_EQ(reader.toWhole(HostValue()), 0);
    const auto failsWith = [&](const HostValue& v, std::int32_t number) {
        try {
            reader.toWhole(v);
        } catch (const RunTimeError& error) {
            return error.number() == number;
        }
        return false;
    };
    EXPECT_TRUE(failsWith(HostValue::null(), err::kInvalidUseOfNull));
    EXPECT_TRUE(failsWith(HostValue::text("abc"), err::kTypeMismatch));
    EXPECT_TRUE(failsWith(HostValue::real(3e9), err::kOverflow));
}

TEST(value_conversions, host_numbers_keep_their_fraction_under_a_decimal_comma) {
    const auto regional = FixedRegionalSettings::commaLocale();
    const AnswerReader reader(regional);
    EXPECT_DOUBLE_EQ(reader.hostNumber(HostValue::real(10.75)), 10.75);
    EXPECT_DOUBLE_EQ(reader.hostNumber(HostValue::text("10.75")), 10.75);
    EXPECT_EQ(reader.toText(HostValue::real(10.75)), "10,75");  // shown to the user
}

TEST(value_conversions, upper_case_folds_latin_and_cyrillic_letters) {
    EXPECT_EQ(upperCase("c:/Карты/roads.tab"), "C:/КАРТЫ/ROADS.TAB");
    EXPECT_EQ(upperCase("ёлка é"), "ЁЛКА É");
    EXPECT_EQ(upperCase(std::string("\xff"
                                    "a")),
              std::string("\xff"
                          "A"));  // kept as it is
}

}  // namespace
}  // namespace veltrano::testing
