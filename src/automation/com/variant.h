// A move-only VARIANT that clears itself, and its conversions to and from Veltrano's values.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::com {

class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }  // VT_EMPTY
    ~Variant() { VariantClear(&value_); }
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant text(std::string_view utf8);  // VT_BSTR; raises on invalid UTF-8
    static Variant int32(std::int32_t value);    // VT_I4
    static Variant boolean(bool value);          // VT_BOOL

    VARTYPE type() const noexcept { return value_.vt; }
    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }

    // The value as text, independent of the user's locale: numbers with a "." decimal point,
    // logical values "T" or "F" as the host writes them, empty and null as empty text. An
    // object gives the text of its default value. Raises err::kTypeMismatch when it has none.
    std::string toText() const;
    // Raises err::kTypeMismatch or err::kOverflow when the value is not a 32-bit whole number.
    std::int32_t toInt32() const;
    // Raises err::kTypeMismatch when the value does not read as true or false.
    bool toBool() const;

private:
    Variant changedTo(VARTYPE type) const;
    VARIANT value_;
};

}  // namespace veltrano::com
