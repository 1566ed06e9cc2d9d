// Errors: every failure mbhost reports is one MapBasicError, with a number in the style of
// MapBasic's, a description naming what is wrong, and where in the text it was found.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace mbhost {

// mbhost's own error numbers (the real host's numbers are not published for every case).
namespace errc {
inline constexpr std::int32_t kSyntax = 1000;
inline constexpr std::int32_t kUnrecognizedCommand = 1001;
inline constexpr std::int32_t kUnknownFunction = 1002;
inline constexpr std::int32_t kArgumentCount = 1003;
inline constexpr std::int32_t kTypeMismatch = 1004;
inline constexpr std::int32_t kUndefinedName = 1005;
inline constexpr std::int32_t kArgumentRange = 1006;
inline constexpr std::int32_t kDivisionByZero = 1007;
inline constexpr std::int32_t kOverflow = 1008;
inline constexpr std::int32_t kTableNotOpen = 405;
inline constexpr std::int32_t kColumnNotFound = 319;
inline constexpr std::int32_t kReadOnlyTable = 1010;
inline constexpr std::int32_t kNoCurrentRow = 1011;
inline constexpr std::int32_t kAlreadyDefined = 1012;
inline constexpr std::int32_t kNotMappable = 1013;
inline constexpr std::int32_t kCoordSys = 1014;
inline constexpr std::int32_t kWindowNotFound = 1015;
inline constexpr std::int32_t kFile = 1016;
inline constexpr std::int32_t kNoPort = 1017;
inline constexpr std::int32_t kTableExists = 1018;
inline constexpr std::int32_t kLimit = 1019;
inline constexpr std::int32_t kObject = 1020;
}  // namespace errc

// Where in the submitted text something was found: 1-based line and column, and the word.
struct SourceSpot {
    std::int32_t line = 0;  // 0: no position known
    std::int32_t column = 0;
    std::string near;
};

class MapBasicError : public std::runtime_error {
public:
    MapBasicError(std::int32_t code, std::string description, SourceSpot spot = {});

    std::int32_t code() const noexcept { return code_; }
    const std::string& description() const noexcept { return description_; }
    const SourceSpot& spot() const noexcept { return spot_; }

    // Places the error when the code that raised it did not know where it was.
    MapBasicError located(const SourceSpot& spot) const;

    // A port's refusal, for a caller that words it in its own terms (null when none).
    std::exception_ptr cause() const noexcept { return cause_; }
    // The port's refusal in flight, as a kFile error with the refusal's text.
    static MapBasicError fromPort(const std::exception& refusal);

private:
    std::int32_t code_;
    std::string description_;
    SourceSpot spot_;
    std::exception_ptr cause_;
};

// The one text form of an error: "line 2, position 7, near 'Inset': Unrecognized command:
// Inset"; without a position only the description. Always valid UTF-8 without NUL.
std::string formatDiagnostic(const std::string& description, const SourceSpot& spot);

}  // namespace mbhost
