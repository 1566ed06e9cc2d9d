// Just enough JSON to read a trace: one value per line, UTF-8 in, UTF-8 out.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::replay {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string numberText;  // the digits as written, so whole numbers keep every digit
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue* member(const std::string& name) const;
};

// Raises std::runtime_error "column N: <reason>" on malformed input or trailing text.
JsonValue parseJson(std::string_view text);

}  // namespace veltrano::replay
