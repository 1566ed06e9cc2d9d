#include "dialog/distance_list.h"

#include <cmath>
#include <optional>

#include "foundation/host_number.h"
#include "foundation/run_time_error.h"
#include "platform/numeric_text.h"

namespace veltrano {

namespace {
// In one pass: replacing in place would move the rest of a long list at every separator.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start).append(to);
        start = at + from.size();
    }
    text = std::move(out.append(text, start));
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

std::optional<DistanceReading> readDistancePiece(std::string_view piece,
                                                 const RegionalSettings& settings) {
    const std::string group = settings.groupText();
    auto plain = wellFormedNumber(piece, settings.decimalText(), group);
    if (!plain && group != ".") plain = wellFormedNumber(piece, ".", "");
    if (!plain && !settings.isNumeric(piece)) return std::nullopt;
    try {
        const std::string_view text = plain ? std::string_view(*plain) : piece;
        const double metres = readHostNumber(text);
        if (!std::isfinite(metres)) return std::nullopt;
        return DistanceReading{metres, !plain && hostNumberLength(text) < text.size()};
    } catch (const RunTimeError&) {
        return std::nullopt;  // beyond any double: not a distance
    }
}

std::optional<double> readDistance(std::string_view piece, const RegionalSettings& settings) {
    const auto reading = readDistancePiece(piece, settings);
    return reading ? std::optional<double>(reading->metres) : std::nullopt;
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
