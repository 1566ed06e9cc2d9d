#include "mbhost/diagnostics.h"

namespace mbhost {

std::string formatDiagnostic(const std::string& description, const SourceSpot& spot) {
    if (spot.line <= 0) return description;
    std::string text =
        "line " + std::to_string(spot.line) + ", position " + std::to_string(spot.column);
    if (!spot.near.empty()) text += ", near '" + spot.near + "'";
    return text + ": " + description;
}

MapBasicError::MapBasicError(std::int32_t code, std::string description, SourceSpot spot)
    : std::runtime_error(formatDiagnostic(description, spot)),
      code_(code),
      description_(std::move(description)),
      spot_(std::move(spot)) {}

MapBasicError MapBasicError::located(const SourceSpot& spot) const {
    if (spot_.line > 0) return *this;
    return MapBasicError(code_, description_, spot);
}

}  // namespace mbhost
