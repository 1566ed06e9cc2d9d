// Text and number functions: Str$, Format$, Mid$, Val, Round, ...
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "foundation/utf8.h"
#include "mbhost/function_groups.h"
#include "mbhost/lexer.h"
#include "mbhost/number_format.h"

namespace mbhost {

namespace {

// Reads a number from the start of a text as Val does: blanks skipped, reading stops at the
// first character that cannot continue the number.
Value val(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            i = j;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        }
    }
    const double v = std::strtod(s.substr(start, i - start).c_str(), nullptr);
    return Value::real(std::isfinite(v) ? v : 0);
}

std::int32_t lengthArg(Evaluator& ev, const Expr& e, const RowContext* row, const char* what) {
    const std::int32_t n = ev.whole(e, row, what);
    if (n < 0)
        throw MapBasicError(errc::kArgumentRange, std::string(what) + " is negative", e.spot);
    return n;
}

Value str(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::text(valueText(ev.eval(*call.args[0], row)));
}

Value format(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::text(formatPicture(ev.number(*call.args[0], row, "Format$ value"),
                                     ev.text(*call.args[1], row, "Format$ picture")));
}

Value chr(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t code = ev.whole(*call.args[0], row, "Chr$ code");
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) outOfRange("Chr$", code);
    return Value::text(veltrano::utf8Of(static_cast<char32_t>(code)));
}

Value valOf(Evaluator& ev, const Expr& call, const RowContext* row) {
    return val(ev.text(*call.args[0], row, "Val"));
}

Value len(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::integer(
        static_cast<std::int64_t>(veltrano::characterCount(ev.text(*call.args[0], row, "Len"))));
}

Value ucase(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::text(toUpper(ev.text(*call.args[0], row, "UCase$")));
}

Value lcase(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::text(toLower(ev.text(*call.args[0], row, "LCase$")));
}

// Texts are UTF-8: the positions and lengths below count characters, never bytes, so that no
// cut splits one.
std::string firstCharacters(const std::string& s, std::size_t n) {
    return s.substr(0, veltrano::characterOffset(s, n));
}

Value left(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::string s = ev.text(*call.args[0], row, "Left$");
    const std::int32_t n = lengthArg(ev, *call.args[1], row, "Left$ length");
    return Value::text(firstCharacters(s, static_cast<std::size_t>(n)));
}

Value right(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::string s = ev.text(*call.args[0], row, "Right$");
    const auto n = static_cast<std::size_t>(lengthArg(ev, *call.args[1], row, "Right$ length"));
    const std::size_t count = veltrano::characterCount(s);
    return Value::text(s.substr(veltrano::characterOffset(s, count - std::min(n, count))));
}

Value mid(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::string s = ev.text(*call.args[0], row, "Mid$");
    const std::int32_t from = ev.whole(*call.args[1], row, "Mid$ position");
    const std::int32_t n = lengthArg(ev, *call.args[2], row, "Mid$ length");
    if (from < 1) outOfRange("Mid$", from);
    const std::string rest = s.substr(veltrano::characterOffset(s, from - 1));
    return Value::text(firstCharacters(rest, static_cast<std::size_t>(n)));
}

// The character position of the first occurrence of part in s at or after position from; 0
// when there is none. Case counts, as in MapBasic.
Value inStr(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t from = ev.whole(*call.args[0], row, "InStr position");
    const std::string s = ev.text(*call.args[1], row, "InStr text");
    const std::string part = ev.text(*call.args[2], row, "InStr pattern");
    if (from < 1) outOfRange("InStr", from);
    const auto start = static_cast<std::size_t>(from - 1);
    if (start > veltrano::characterCount(s)) return Value::integer(0);
    const std::size_t at = s.find(part, veltrano::characterOffset(s, start));
    if (at == std::string::npos) return Value::integer(0);
    return Value::integer(
        static_cast<std::int64_t>(veltrano::characterCount(std::string_view(s).substr(0, at)) + 1));
}

Value ltrim(Evaluator& ev, const Expr& call, const RowContext* row) {
    std::string s = ev.text(*call.args[0], row, "LTrim$");
    const auto first = s.find_first_not_of(' ');
    s.erase(0, first == std::string::npos ? s.size() : first);
    return Value::text(s);
}

Value rtrim(Evaluator& ev, const Expr& call, const RowContext* row) {
    std::string s = ev.text(*call.args[0], row, "RTrim$");
    const auto last = s.find_last_not_of(' ');
    s.erase(last == std::string::npos ? 0 : last + 1);
    return Value::text(s);
}

Value asc(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::string s = ev.text(*call.args[0], row, "Asc");
    return Value::integer(static_cast<std::int64_t>(veltrano::firstCharacter(s)));
}

Value intOf(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::real(std::floor(ev.number(*call.args[0], row, "Int")));
}

Value fix(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::real(std::trunc(ev.number(*call.args[0], row, "Fix")));
}

Value round(Evaluator& ev, const Expr& call, const RowContext* row) {
    const double v = ev.number(*call.args[0], row, "Round value");
    const double step = ev.number(*call.args[1], row, "Round step");
    if (step == 0) return Value::real(v);
    return Value::real(std::round(v / step) * step);
}

Value abs(Evaluator& ev, const Expr& call, const RowContext* row) {
    const Value v = ev.eval(*call.args[0], row);
    if (v.kind() == ValueKind::Integer) return Value::integer(std::llabs(v.asInteger()));
    return Value::real(std::fabs(ev.number(*call.args[0], row, "Abs")));
}

Value sqr(Evaluator& ev, const Expr& call, const RowContext* row) {
    const double v = ev.number(*call.args[0], row, "Sqr");
    if (v < 0) throw MapBasicError(errc::kArgumentRange, "Sqr of a negative number");
    return Value::real(std::sqrt(v));
}

Value minimum(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::real(std::min(ev.number(*call.args[0], row, "Minimum"),
                                ev.number(*call.args[1], row, "Minimum")));
}

Value maximum(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::real(std::max(ev.number(*call.args[0], row, "Maximum"),
                                ev.number(*call.args[1], row, "Maximum")));
}

Value curDate(Evaluator&, const Expr&, const RowContext*) {
    const auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    return Value::date(Date{static_cast<int>(today.year()) * 10000 +
                            static_cast<int>(static_cast<unsigned>(today.month())) * 100 +
                            static_cast<int>(static_cast<unsigned>(today.day()))});
}

constexpr FunctionSpec kFunctions[] = {
    {"str$", 1, 1, str},        {"format$", 2, 2, format},  {"chr$", 1, 1, chr},
    {"val", 1, 1, valOf},       {"len", 1, 1, len},         {"ucase$", 1, 1, ucase},
    {"lcase$", 1, 1, lcase},    {"left$", 2, 2, left},      {"right$", 2, 2, right},
    {"mid$", 3, 3, mid},        {"instr", 3, 3, inStr},     {"ltrim$", 1, 1, ltrim},
    {"rtrim$", 1, 1, rtrim},    {"asc", 1, 1, asc},         {"int", 1, 1, intOf},
    {"fix", 1, 1, fix},         {"round", 2, 2, round},     {"abs", 1, 1, abs},
    {"sqr", 1, 1, sqr},         {"minimum", 2, 2, minimum}, {"maximum", 2, 2, maximum},
    {"curdate", 0, 0, curDate},
};

}  // namespace

std::span<const FunctionSpec> textAndNumberFunctions() {
    return kFunctions;
}

}  // namespace mbhost
