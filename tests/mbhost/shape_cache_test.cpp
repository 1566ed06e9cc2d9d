#include <gtest/gtest.h>

#include <string>

#include "mbhost/host.h"
#include "mbhost/parser.h"
#include "sample_workspace.h"

namespace mbhost::testing {
namespace {

std::unique_ptr<Host> hostWithVariables() {
    auto host = makeSampleHost();
    host->execute(
        "Dim v As Float\r\nDim x1, x2, x As Float\r\nx1 = 10\r\nx2 = 20\r\nx = 30\r\nDim o As "
        "Object");
    return host;
}

// An Eval's answer or a Do's failure, then what a Do left in v.
std::string outcome(Host& host, const std::string& text, bool statement) {
    std::string result;
    try {
        if (statement) {
            host.execute(text);
        } else {
            result = host.eval(text);
        }
    } catch (const HostFailure& f) {
        result = std::string("failed: ") + f.what();
    }
    return statement ? result + " v=" + host.eval("v") : result;
}

// A text asked after a primer of the same shape (or a near one) answers as a fresh host does.
// So does a clause given twice, after itself: the parse dropped the first, so it binds no
// numbers (one noted in it was freed; under ASan a freed literal would be caught).
TEST(shape_cache, a_text_answers_as_on_a_fresh_host_after_a_primer) {
    struct Row {
        const char* primer;  // none: the text itself
        const char* text;
        bool statement = false;
        bool fails = false;
    };
    const Row rows[] = {
        {"Format$(Distance(-3.8750083693649174E+01, 21.3, -38.7, 2.1E+01, \"m\"), \"#0.#####\")",
         "Format$(Distance(1e1, -2, 3, -4.5E-1, \"m\"), \"#0.#####\")"},
        {"Distance(1,2,3,4,\"m\")", "Distance(4,3,2,1,\"m\")"},
        {"x1 * 2", "x2 * 2"},
        {"x1 * 2", "x 1 * 2", false, true},
        {"x * 1", "x1"},
        {"-3 * 2", "-5 - -7"},
        {"2-1", "2 -1 - 10"},
        {"1.5E+3 + 1", "2.5e-3 + 7"},
        {"str$(7)", "str$(7.5)"},
        {"str$(7.5)", "str$(2147483648)"},
        {".5 + 1", "0.25 + 1"},
        {"\"a1\" & 5", "\"a2\" & 5"},
        {"\"1\"\"2\" & 3", "\"4\"\"5\" & 6"},
        {"100000 / 1", "1 / 0", false, true},
        {"v = 2.5 * 3", "v = 1.5 * 4", true},
        {"Create Pline Into Variable o 2 (0,0) (1,1)", "Create Pline Into Variable o 3 (0,0) (1,1)",
         true, true},
        {"v = v + 10\r\nv = 0 / 1", "v = v + 3\r\nv = 12345 / 0", true, true},
        {nullptr, "Select * From roads Where lanes > 1 Where lanes > 2", true, false},
        {nullptr, "Open Table \"a\" Layer 5 Layer 6", true, true},
        {nullptr, "Commit Table roads As 5 As \"/tmp/x.tab\"", true, true},
        {nullptr, "Set Map Window 1 Center (1, 2) Center (3, 4)", true, true},
        {nullptr, "Set Map Window 1 Zoom 5 Units \"km\" Zoom 6", true, true},
        {nullptr, "Save Window 1 As \"a\" Type 5 Type 6", true, true},
        {nullptr, "Save Window 1 As \"a\" Width 3 Height 2 Width 4 Height 1", true, true},
        {nullptr, "Save Window 1 As \"a\" Height 2 Units \"cm\" Height 1 Units \"in\"", true, true},
        {nullptr, "Save Window 1 As \"a\" Resolution 96 Resolution 72", true, true},
    };
    for (const Row& row : rows) {
        auto primed = hostWithVariables();
        outcome(*primed, row.primer ? row.primer : row.text, row.statement);
        const std::string answer = outcome(*primed, row.text, row.statement);
        EXPECT_EQ(answer, outcome(*hostWithVariables(), row.text, row.statement)) << row.text;
        EXPECT_EQ(answer.rfind("failed: ", 0) == 0, row.fails) << row.text << ": " << answer;
        if (row.primer) continue;
        NumberLiterals numbers;
        parseStatements(row.text, numbers);
        EXPECT_FALSE(numbers.complete) << row.text;
    }
}

TEST(shape_cache, a_full_cache_starts_over_and_keeps_answering) {
    auto host = hostWithVariables();
    const auto text = [](std::size_t i) { return "\"k" + std::to_string(i) + "\" & 7"; };
    for (std::size_t i = 0; i < kParseCacheEntries + 10; ++i) {
        ASSERT_EQ(host->eval(text(i)), "k" + std::to_string(i) + "7");
    }
    EXPECT_EQ(host->eval(text(0)), "k07");
    EXPECT_EQ(host->eval("x1 + 0.5"), "10.5");
}

}  // namespace
}  // namespace mbhost::testing
