#include "dialog/distance_list.h"

#include <cmath>
#include <optional>

#include "foundation/host_number.h"
#include "foundation/utf8.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The region's digit-group separator as its number format writes it between the thousands
// (empty when it writes none): the port tells the decimal separator only.
std::string groupSeparatorOf(const RegionalSettings& settings) {
    const std::string thousand = settings.formatNumber(1000.0);
    const auto zeros = thousand.find("000");
    if (thousand.empty() || thousand[0] != '1' || zeros == std::string::npos) return {};
    return thousand.substr(1, zeros - 1);
}

// The piece with every decimal mark a point and no digit grouping: what the host number
// reader reads. A point is always a decimal point, even where it groups digits.
std::string pointDecimalText(std::string_view piece, const RegionalSettings& settings) {
    std::string text(piece);
    const std::string decimal = utf8Of(settings.decimalSeparator());
    const std::string group = groupSeparatorOf(settings);
    if (!group.empty() && group != "." && group != decimal) replaceAll(text, group, "");
    if (decimal != ".") replaceAll(text, decimal, ".");
    return text;
}

// The piece with its points written as the regional decimal separator, so that a point
// passes the regional numeric test as a decimal point.
std::string regionalDecimalText(std::string_view piece, const RegionalSettings& settings) {
    std::string text(piece);
    const std::string decimal = utf8Of(settings.decimalSeparator());
    if (decimal != ".") replaceAll(text, ".", decimal);
    return text;
}
}  // namespace

std::string trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> distancePieces(std::string_view text) {
    std::string joined(text);
    replaceAll(joined, "\r\n", ";");
    if (!joined.empty() && joined.back() == ';') joined.pop_back();
    while (joined.find(";;") != std::string::npos) replaceAll(joined, ";;", ";");
    std::vector<std::string> pieces;
    if (joined.empty()) return pieces;
    std::size_t start = 0;
    for (auto cut = joined.find(';'); cut != std::string::npos; cut = joined.find(';', start)) {
        pieces.push_back(joined.substr(start, cut - start));
        start = cut + 1;
    }
    pieces.push_back(joined.substr(start));
    return pieces;
}

std::optional<double> readDistance(std::string_view piece, const RegionalSettings& settings) {
    if (piece.empty()) return std::nullopt;
    if (!settings.isNumeric(piece) && !settings.isNumeric(regionalDecimalText(piece, settings))) {
        return std::nullopt;
    }
    try {
        const double value = readHostNumber(pointDecimalText(piece, settings));
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    } catch (const RunTimeError&) {
        return std::nullopt;  // beyond any double: not a distance
    }
}

std::vector<double> parseDistanceList(std::string_view text, const RegionalSettings& settings) {
    std::vector<double> list;
    for (const auto& piece : distancePieces(text)) {
        if (const auto value = readDistance(piece, settings)) list.push_back(*value);
    }
    return list;
}

std::string distanceListText(const std::vector<double>& list, const RegionalSettings& settings) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += settings.generalText(list[i]);
    }
    return text;
}

}  // namespace veltrano
