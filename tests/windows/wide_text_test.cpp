// UTF-8 and UTF-16 text at the Win32 boundary.
#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "platform/win32/wide_text.h"
#include "raised.h"

namespace veltrano::win32 {
namespace {

TEST(wide_text, round_trips_text_beyond_the_basic_plane_and_refuses_or_replaces_what_is_not) {
    const std::string text = "Отсчет \xC2\xAB\xF0\x9F\x98\x80\xC2\xBB";
    EXPECT_EQ(toWide(text), L"Отсчет «\U0001F600»");
    EXPECT_EQ(toUtf8(toWide(text)), text);
    EXPECT_EQ(toWide(""), L"");
    EXPECT_EQ(toUtf8(L""), "");
    for (const std::string bad : {"\xFF", "abc\xC3", "\xED\xA0\x80", "\xC0\xAF"}) {
        const testing::Raised raised = testing::raisedBy([&] { toWide(bad); });
        EXPECT_EQ(raised.number, err::kTypeMismatch);
        EXPECT_EQ(raised.description, "cannot convert text: it is not valid UTF-8");
    }
    // For display, what cannot be read shows as a replacement character.
    EXPECT_EQ(toWideForDisplay(std::string("a\xFF") + "b"), L"a\uFFFDb");
    EXPECT_EQ(toUtf8(std::wstring(L"x") + wchar_t(0xD800) + L"y"), "x\xEF\xBF\xBDy");
}

}  // namespace
}  // namespace veltrano::win32
