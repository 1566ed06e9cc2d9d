#include "mbhost/diagnostics.h"

#include "foundation/utf8.h"

namespace mbhost {

// The offending word may be any bytes a client sent: a NUL in it would cut the message
// before its reason, and invalid UTF-8 could not cross the socket.
std::string formatDiagnostic(const std::string& description, const SourceSpot& spot) {
    if (spot.line <= 0) return veltrano::validUtf8(description);
    std::string text =
        "line " + std::to_string(spot.line) + ", position " + std::to_string(spot.column);
    if (!spot.near.empty()) text += ", near '" + spot.near + "'";
    return veltrano::validUtf8(text + ": " + description);
}

MapBasicError::MapBasicError(std::int32_t code, std::string description, SourceSpot spot)
    : std::runtime_error(formatDiagnostic(description, spot)),
      code_(code),
      description_(std::move(description)),
      spot_(std::move(spot)) {}

MapBasicError MapBasicError::located(const SourceSpot& spot) const {
    if (spot_.line > 0) return *this;
    MapBasicError placed(code_, description_, spot);
    placed.cause_ = cause_;
    return placed;
}

MapBasicError MapBasicError::fromPort(const std::exception& refusal) {
    MapBasicError error(errc::kFile, refusal.what());
    error.cause_ = std::current_exception();
    return error;
}

}  // namespace mbhost
