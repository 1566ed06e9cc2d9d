// A MapBasic value: what an expression yields, a variable holds and a table cell stores.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "mbhost/geometry.h"

namespace mbhost {

class CoordSys;

struct Date {
    std::int32_t yyyymmdd = 0;  // 0 is the empty date
    bool operator==(const Date&) const = default;
};

// An object together with the coordinate system its coordinates are in. A null geometry is
// the empty object (a row without an object, a fresh Object variable).
struct ObjectValue {
    GeometryPtr geometry;
    std::shared_ptr<const CoordSys> coordSys;
};

// Kinds in the order of the variant below.
enum class ValueKind { Null, Integer, Float, String, Logical, Date, Object };

class Value {
public:
    Value() = default;  // null
    static Value integer(std::int64_t v) { return Value(Storage(std::in_place_index<1>, v)); }
    static Value real(double v) { return Value(Storage(std::in_place_index<2>, v)); }
    static Value text(std::string v) {
        return Value(Storage(std::in_place_index<3>, std::move(v)));
    }
    static Value logical(bool v) { return Value(Storage(std::in_place_index<4>, v)); }
    static Value date(Date v) { return Value(Storage(std::in_place_index<5>, v)); }
    static Value object(ObjectValue v) {
        return Value(Storage(std::in_place_index<6>, std::move(v)));
    }

    ValueKind kind() const { return static_cast<ValueKind>(value_.index()); }
    bool isNull() const { return kind() == ValueKind::Null; }
    bool isNumber() const { return kind() == ValueKind::Integer || kind() == ValueKind::Float; }

    std::int64_t asInteger() const { return std::get<1>(value_); }
    double asFloat() const { return std::get<2>(value_); }
    const std::string& asText() const { return std::get<3>(value_); }
    std::string takeText() && { return std::move(std::get<3>(value_)); }
    bool asLogical() const { return std::get<4>(value_); }
    Date asDate() const { return std::get<5>(value_); }
    const ObjectValue& asObject() const { return std::get<6>(value_); }

    // Either number kind as a double; only for isNumber().
    double number() const {
        return kind() == ValueKind::Integer ? static_cast<double>(asInteger()) : asFloat();
    }

private:
    using Storage =
        std::variant<std::monostate, std::int64_t, double, std::string, bool, Date, ObjectValue>;
    explicit Value(Storage v) : value_(std::move(v)) {}
    Storage value_;
};

}  // namespace mbhost
