#include "route_index.h"

#include <cmath>

#include "dialog/distance_list.h"
#include "every_list.h"
#include "mbhost/number_format.h"

namespace veltrano::batch {

namespace {
// Whole numbers as their digits, so that 42, 42.0 and "0042" meet; others as they read back.
std::string numberKey(double number) {
    if (std::trunc(number) == number && std::fabs(number) < 9e18) {
        return std::to_string(static_cast<std::int64_t>(number));
    }
    return mbhost::realText(number);
}

std::optional<std::string> numberKeyOf(const mbhost::Value& value) {
    if (value.kind() == mbhost::ValueKind::Integer) return std::to_string(value.asInteger());
    std::optional<double> number;
    if (value.kind() == mbhost::ValueKind::Float) number = value.asFloat();
    if (value.kind() == mbhost::ValueKind::String)
        number = readPlainNumber(trimSpaces(value.asText()));
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return numberKey(*number);
}

std::optional<std::string> textKeyOf(const mbhost::Value& value) {
    if (value.isNumber()) return numberKey(value.number());
    if (value.kind() != mbhost::ValueKind::String) return std::nullopt;
    std::string text = trimSpaces(value.asText());
    if (text.empty()) return std::nullopt;
    return text;
}
}  // namespace

std::optional<std::string> keyOf(const mbhost::Value& value, KeyKind kind) {
    return kind == KeyKind::Number ? numberKeyOf(value) : textKeyOf(value);
}

RouteIndex::RouteIndex(const mbhost::Table& selection, int column, KeyKind kind) : kind_(kind) {
    lines_.reserve(static_cast<std::size_t>(selection.rowCount()));
    for (std::int32_t id = 1; id <= selection.lastRowId(); ++id) {
        const mbhost::Row* row = selection.row(id);
        if (!row) continue;
        const auto key = keyOf(row->fields[static_cast<std::size_t>(column)], kind);
        if (!key) continue;
        Match& match = lines_[*key];
        if (match.lines++ == 0) match.row = id;
    }
}

RouteIndex::Match RouteIndex::find(const std::string& key) const {
    const auto found = lines_.find(key);
    return found == lines_.end() ? Match{} : found->second;
}

}  // namespace veltrano::batch
