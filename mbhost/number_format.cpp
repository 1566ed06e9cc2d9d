#include "mbhost/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace mbhost {

namespace {

struct Scientific {
    std::string digits;  // mantissa digits without the point, first one non-zero
    int exponent = 0;    // value = 0.d1d2... x 10^(exponent+1), i.e. d1.d2... x 10^exponent
};

// Shortest round-trip digits of a finite, non-zero |value|.
Scientific shortestDigits(double value) {
    char buf[64];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    (void)ec;
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const auto e = text.find('e');
    Scientific s;
    for (char c : text.substr(0, e)) {
        if (c != '.') s.digits += c;
    }
    s.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    return s;
}

// Digits rounded to `decimals` places after the first digit.
Scientific roundedDigits(double value, int decimals) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*e", decimals, std::fabs(value));
    std::string_view text(buf);
    const auto e = text.find('e');
    Scientific s;
    for (char c : text.substr(0, e)) {
        if (c != '.') s.digits += c;
    }
    s.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    return s;
}

std::string exponentText(int exponent, bool alwaysSign, int minDigits, char letter) {
    std::string digits = std::to_string(std::abs(exponent));
    while (static_cast<int>(digits.size()) < minDigits) digits.insert(0, "0");
    std::string out(1, letter);
    if (exponent < 0)
        out += '-';
    else if (alwaysSign)
        out += '+';
    return out + digits;
}

// More places than a double can carry add nothing but cost; pictures asking for more are
// cut to this.
constexpr int kMaxPlaces = 40;

struct Picture {
    std::string prefix, suffix;
    int intZeros = 0;       // '0' before the point
    bool grouping = false;  // ',' before the point
    int fracZeros = 0;      // '0' after the point
    int fracMax = 0;        // '0' and '#' after the point
    bool point = false;
    bool percent = false;
    bool scientific = false;
    char expLetter = 'E';
    bool expAlwaysSign = false;
    int expDigits = 0;
};

Picture readPicture(std::string_view pic) {
    Picture p;
    std::size_t i = 0;
    while (i < pic.size() && pic[i] != '#' && pic[i] != '0' && pic[i] != '.' && pic[i] != ',') {
        if (pic[i] == '%') p.percent = true;
        p.prefix += pic[i++];
    }
    for (; i < pic.size(); ++i) {
        const char c = pic[i];
        if (c == '#' || c == '0') {
            if (p.point) {
                ++p.fracMax;
                if (c == '0') p.fracZeros = p.fracMax;
            } else if (c == '0') {
                ++p.intZeros;
            }
        } else if (c == ',' && !p.point) {
            p.grouping = true;
        } else if (c == '.' && !p.point) {
            p.point = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < pic.size() &&
                   (pic[i + 1] == '+' || pic[i + 1] == '-')) {
            p.scientific = true;
            p.expLetter = c;
            p.expAlwaysSign = pic[i + 1] == '+';
            i += 2;
            while (i < pic.size() && (pic[i] == '0' || pic[i] == '#')) {
                ++p.expDigits;
                ++i;
            }
            break;
        } else {
            break;
        }
    }
    for (; i < pic.size(); ++i) {
        if (pic[i] == '%') p.percent = true;
        p.suffix += pic[i];
    }
    p.fracMax = std::min(p.fracMax, kMaxPlaces);
    p.fracZeros = std::min(p.fracZeros, kMaxPlaces);
    p.intZeros = std::min(p.intZeros, kMaxPlaces);
    p.expDigits = std::min(p.expDigits, 3);
    return p;
}

std::string grouped(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[i];
        if ((n - 1 - i) % 3 == 0 && i + 1 < n) out += ',';
    }
    return out;
}

// Joins the integer and fraction digits as the picture asks.
std::string assemble(const Picture& p, std::string intDigits, std::string frac) {
    while (static_cast<int>(frac.size()) > p.fracZeros && !frac.empty() && frac.back() == '0') {
        frac.pop_back();
    }
    while (intDigits.size() > 1 && intDigits.front() == '0') intDigits.erase(0, 1);
    if (intDigits == "0" && p.intZeros == 0) intDigits.clear();
    while (static_cast<int>(intDigits.size()) < p.intZeros) intDigits.insert(0, "0");
    std::string out = p.grouping ? grouped(intDigits) : intDigits;
    if (!frac.empty()) out += "." + frac;
    if (out.empty()) out = "0";
    return out;
}

std::string formatScientific(const Picture& p, double value) {
    const int intDigits = std::max(1, p.intZeros);
    // Sixteen or more optional places can hold any double: write the shortest digits that
    // read back to the same value instead of printf's long tail.
    const bool shortest = p.fracMax >= 16;
    Scientific s;
    if (value == 0) {
        s.digits = "0";
    } else if (shortest) {
        s = shortestDigits(value);
    } else {
        s = roundedDigits(value, intDigits - 1 + p.fracMax);
    }
    const int exponent = value == 0 ? 0 : s.exponent - (intDigits - 1);
    while (static_cast<int>(s.digits.size()) < intDigits) s.digits += '0';
    std::string out = assemble(p, s.digits.substr(0, static_cast<std::size_t>(intDigits)),
                               s.digits.substr(static_cast<std::size_t>(intDigits)));
    return out + exponentText(exponent, p.expAlwaysSign, p.expDigits, p.expLetter);
}

std::string formatFixed(const Picture& p, double value) {
    char buf[512];
    const double magnitude = std::fabs(value) * (p.percent ? 100.0 : 1.0);
    if (magnitude >= 1e300) return realText(value);
    const double scaled = magnitude * std::pow(10.0, p.fracMax);
    if (scaled < 9e15) {
        // Halves round away from zero, as the host's pictures do (printf would round a
        // binary-exact half to even).
        std::string digits = std::to_string(static_cast<long long>(std::round(scaled)));
        const auto places = static_cast<std::size_t>(p.fracMax);
        if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
        return assemble(p, digits.substr(0, digits.size() - places),
                        digits.substr(digits.size() - places));
    }
    std::snprintf(buf, sizeof buf, "%.*f", p.fracMax, magnitude);
    std::string text(buf);
    const auto dot = text.find('.');
    std::string intDigits = dot == std::string::npos ? text : text.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    return assemble(p, std::move(intDigits), std::move(frac));
}

}  // namespace

std::string realText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    std::string text(buf, end);
    const auto e = text.find('e');
    if (e == std::string::npos) return text;
    const int exponent = std::atoi(text.c_str() + e + 1);
    return text.substr(0, e) + exponentText(exponent, true, 2, 'E');
}

std::string valueText(const Value& value) {
    switch (value.kind()) {
        case ValueKind::Null:
            return {};
        case ValueKind::Integer:
            return std::to_string(value.asInteger());
        case ValueKind::Float:
            return realText(value.asFloat());
        case ValueKind::String:
            return value.asText();
        case ValueKind::Logical:
            return value.asLogical() ? "T" : "F";
        case ValueKind::Date: {
            const auto d = value.asDate().yyyymmdd;
            return d == 0 ? std::string() : std::to_string(d);
        }
        case ValueKind::Object: {
            const auto& g = value.asObject().geometry;
            return g ? objectTypeName(g->type) : std::string();
        }
    }
    return {};
}

std::string formatPicture(double value, std::string_view picture) {
    if (!std::isfinite(value)) return realText(value);
    const Picture p = readPicture(picture);
    std::string body = p.scientific ? formatScientific(p, value) : formatFixed(p, value);
    const bool negative = value < 0 && body.find_first_not_of("0.,E+-e") != std::string::npos;
    return p.prefix + (negative ? "-" : "") + body + p.suffix;
}

}  // namespace mbhost
