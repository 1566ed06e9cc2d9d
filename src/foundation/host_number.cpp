#include "foundation/host_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "foundation/run_time_error.h"

namespace veltrano {

namespace {

bool ignorable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Collects into out the readable prefix of text, without ignorable characters, in the form that
// from_chars accepts ("D" exponents become "e"); stop tells where reading stopped.
void readablePrefix(std::string_view text, std::string& out, std::size_t* stop = nullptr) {
    if (stop) *stop = text.size();
    enum class Stage { Sign, Whole, Fraction, ExponentSign, Exponent };
    out.clear();
    Stage stage = Stage::Sign;
    bool mantissaDigits = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (ignorable(c)) continue;
        switch (stage) {
            case Stage::Sign:
                stage = Stage::Whole;
                if (c == '+') continue;
                if (c == '-') {
                    out += c;
                    continue;
                }
                [[fallthrough]];
            case Stage::Whole:
                if (isDigit(c)) {
                    out += c;
                    mantissaDigits = true;
                    continue;
                }
                if (c == '.') {
                    out += c;
                    stage = Stage::Fraction;
                    continue;
                }
                [[fallthrough]];
            case Stage::Fraction:
                if (stage == Stage::Fraction && isDigit(c)) {
                    out += c;
                    mantissaDigits = true;
                    continue;
                }
                if (mantissaDigits && (c == 'E' || c == 'e' || c == 'D' || c == 'd')) {
                    out += 'e';
                    stage = Stage::ExponentSign;
                    continue;
                }
                if (stop) *stop = i;
                return;
            case Stage::ExponentSign:
                stage = Stage::Exponent;
                if (c == '+' || c == '-') {
                    out += c;
                    continue;
                }
                [[fallthrough]];
            case Stage::Exponent:
                if (isDigit(c)) {
                    out += c;
                    continue;
                }
                if (stop) *stop = i;
                return;
        }
    }
}

// Drops a dangling exponent ("1e", "1e-") that from_chars would otherwise stop before anyway.
void trimDanglingExponent(std::string& s) {
    while (!s.empty() && (s.back() == 'e' || s.back() == '+' || s.back() == '-')) {
        const bool wasExponent = s.back() == 'e';
        s.pop_back();
        if (wasExponent) break;
    }
}

}  // namespace

double readHostNumber(std::string_view text) {
    // Most answers are plain numbers ("-3.87E+01"): when from_chars takes all of one whose
    // mantissa starts with a digit or a point (not "inf", not "nan"), the prefix below
    // would be the text itself.
    const std::size_t mantissa = !text.empty() && text[0] == '-' ? 1 : 0;
    if (mantissa < text.size() && (isDigit(text[mantissa]) || text[mantissa] == '.')) {
        double value = 0.0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc{} && ptr == text.data() + text.size()) return value;
    }
    // Every answer of the host is read here: one buffer per thread spares an allocation each.
    thread_local std::string prefix;
    readablePrefix(text, prefix);
    trimDanglingExponent(prefix);
    double value = 0.0;
    const char* first = prefix.data();
    const char* last = first + prefix.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is a failure.
        if (std::fabs(value) >= 1.0 || prefix.find("e-") == std::string::npos) {
            throw RunTimeError(err::kOverflow, {}, "readHostNumber");
        }
        return 0.0;
    }
    if (ec != std::errc{}) return 0.0;
    (void)ptr;
    return value;
}

std::size_t hostNumberLength(std::string_view text) {
    std::size_t stop = 0;
    std::string ignored;
    readablePrefix(text, ignored, &stop);
    return stop;
}

namespace {
template <typename Int>
Int toIntChecked(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw RunTimeError(err::kOverflow, {}, "toInt");
    }
    return static_cast<Int>(rounded);
}
}  // namespace

std::int16_t toInt16(double value) {
    return toIntChecked<std::int16_t>(value);
}
std::int32_t toInt32(double value) {
    return toIntChecked<std::int32_t>(value);
}

}  // namespace veltrano
