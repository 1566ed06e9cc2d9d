#include "mbhost/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace mbhost {

namespace {

// Mantissa digits without the point, first one non-zero, of d1.d2... x 10^exponent. Held
// in place: the most asked for is 1 + 39 + 40 digits (kMaxPlaces each side).
struct Scientific {
    char digits[96];
    std::size_t count = 0;
    int exponent = 0;
    std::string_view view() const { return {digits, count}; }
};

// Reads to_chars' scientific form ("d.ddde+XX") into s.
void readScientific(const char* first, const char* last, Scientific& s) {
    s.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') s.digits[s.count++] = *p;
    }
    if (p != last) ++p;
    if (p != last && *p == '+') ++p;
    std::from_chars(p, last, s.exponent);
}

// Shortest round-trip digits of a finite, non-zero |value|.
void shortestDigits(double value, Scientific& s) {
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    (void)ec;
    readScientific(buf, end, s);
}

// Digits rounded to `decimals` places after the first digit (as printf's %.*e, in any locale).
void roundedDigits(double value, int decimals, Scientific& s) {
    char buf[128];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                         std::chars_format::scientific, decimals);
    (void)ec;
    readScientific(buf, end, s);
}

void appendExponent(std::string& out, int exponent, bool alwaysSign, int minDigits, char letter) {
    char buf[16];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, exponent < 0 ? -exponent : exponent);
    (void)ec;
    out += letter;
    if (exponent < 0)
        out += '-';
    else if (alwaysSign)
        out += '+';
    for (auto n = end - buf; n < minDigits; ++n) out += '0';
    out.append(buf, end);
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

// Appends the integer and fraction digits as the picture asks.
void assemble(const Picture& p, std::string_view whole, std::string_view frac, std::string& out) {
    while (frac.size() > static_cast<std::size_t>(p.fracZeros) && frac.back() == '0') {
        frac.remove_suffix(1);
    }
    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    if (whole == "0" && p.intZeros == 0) whole = {};
    const std::size_t zeros = static_cast<std::size_t>(p.intZeros);
    const std::size_t pad = zeros > whole.size() ? zeros - whole.size() : 0;
    const std::size_t n = pad + whole.size();
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += i < pad ? '0' : whole[i - pad];
        if (p.grouping && (n - 1 - i) % 3 == 0 && i + 1 < n) out += ',';
    }
    if (!frac.empty()) {
        out += '.';
        out.append(frac);
    }
    if (out.size() == start) out += '0';
}

void formatScientific(const Picture& p, double value, std::string& out) {
    const int intDigits = std::max(1, p.intZeros);
    // Sixteen or more optional places can hold any double: write the shortest digits that
    // read back to the same value instead of printf's long tail.
    const bool shortest = p.fracMax >= 16;
    Scientific s;
    if (value == 0) {
        s.digits[0] = '0';
        s.count = 1;
    } else if (shortest) {
        shortestDigits(value, s);
    } else {
        roundedDigits(value, intDigits - 1 + p.fracMax, s);
    }
    const int exponent = value == 0 ? 0 : s.exponent - (intDigits - 1);
    while (s.count < static_cast<std::size_t>(intDigits)) s.digits[s.count++] = '0';
    const std::string_view digits = s.view();
    const auto whole = static_cast<std::size_t>(intDigits);
    assemble(p, digits.substr(0, whole), digits.substr(whole), out);
    appendExponent(out, exponent, p.expAlwaysSign, p.expDigits, p.expLetter);
}

void formatFixed(const Picture& p, double value, std::string& out) {
    const double magnitude = std::fabs(value) * (p.percent ? 100.0 : 1.0);
    if (magnitude >= 1e300) {
        out += realText(value);
        return;
    }
    const double scaled = magnitude * std::pow(10.0, p.fracMax);
    const auto places = static_cast<std::size_t>(p.fracMax);
    if (scaled < 9e15) {
        // Halves round away from zero, as the host's pictures do (printf would round a
        // binary-exact half to even).
        char buf[64];
        const std::size_t lead = places + 1;  // room for the zeros a small value needs
        std::fill(buf, buf + lead, '0');
        const auto [end, ec] =
            std::to_chars(buf + lead, buf + sizeof buf, static_cast<long long>(std::round(scaled)));
        (void)ec;
        const auto written = static_cast<std::size_t>(end - (buf + lead));
        const char* first = buf + lead - (written <= places ? places + 1 - written : 0);
        const std::string_view digits(first, static_cast<std::size_t>(end - first));
        assemble(p, digits.substr(0, digits.size() - places), digits.substr(digits.size() - places),
                 out);
        return;
    }
    // As printf's %.*f, in any locale.
    char buf[512];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, p.fracMax);
    (void)ec;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const auto dot = text.find('.');
    assemble(p, text.substr(0, dot),
             dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1), out);
}

}  // namespace

std::string realText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const auto e = text.find('e');
    if (e == std::string_view::npos) return std::string(text);
    std::string out(text.substr(0, e));
    int exponent = 0;
    const char* digits = buf + e + 1;
    if (*digits == '+') ++digits;
    std::from_chars(digits, end, exponent);
    appendExponent(out, exponent, true, 2, 'E');
    return out;
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

std::string valueText(Value&& value) {
    if (value.kind() == ValueKind::String) return std::move(value).takeText();
    return valueText(value);
}

std::string formatPicture(double value, std::string_view picture) {
    if (!std::isfinite(value)) return realText(value);
    // Veltrano sends one picture over and over: read it once per thread.
    thread_local std::string lastPicture;
    thread_local Picture p;
    if (picture != lastPicture) {
        p = readPicture(picture);
        lastPicture = picture;
    }
    std::string out;
    out.reserve(p.prefix.size() + p.suffix.size() + 32);
    out += p.prefix;
    const std::size_t bodyStart = out.size();
    if (p.scientific) {
        formatScientific(p, value, out);
    } else {
        formatFixed(p, value, out);
    }
    const bool negative = value < 0 && std::string_view(out).substr(bodyStart).find_first_not_of(
                                           "0.,E+-e") != std::string_view::npos;
    if (negative) out.insert(bodyStart, 1, '-');
    out += p.suffix;
    return out;
}

}  // namespace mbhost
