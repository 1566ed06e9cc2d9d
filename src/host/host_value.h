// The host value: what the host link's Eval, SystemInfo, TableInfo, WindowInfo and
// MapperInfo return after converting the host's text answer.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace veltrano {

class HostValue {
public:
    struct Empty {
        bool operator==(const Empty&) const = default;
    };
    struct Null {
        bool operator==(const Null&) const = default;
    };

    HostValue() = default;  // empty
    static HostValue null() { return HostValue(Null{}); }
    static HostValue whole(std::int32_t v) { return HostValue(v); }
    static HostValue real(double v) { return HostValue(v); }
    static HostValue text(std::string v) { return HostValue(std::move(v)); }

    bool isEmpty() const { return std::holds_alternative<Empty>(value_); }
    bool isNull() const { return std::holds_alternative<Null>(value_); }
    bool isWhole() const { return std::holds_alternative<std::int32_t>(value_); }
    bool isReal() const { return std::holds_alternative<double>(value_); }
    bool isText() const { return std::holds_alternative<std::string>(value_); }

    std::int32_t asWhole() const { return std::get<std::int32_t>(value_); }
    double asReal() const { return std::get<double>(value_); }
    const std::string& asText() const { return std::get<std::string>(value_); }

    bool operator==(const HostValue&) const = default;

private:
    using Storage = std::variant<Empty, Null, std::int32_t, double, std::string>;
    explicit HostValue(Storage v) : value_(std::move(v)) {}
    Storage value_;
};

}  // namespace veltrano
