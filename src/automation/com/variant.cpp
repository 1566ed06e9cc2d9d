#include "automation/com/variant.h"

#include <oleauto.h>

#include <utility>

#include "automation/com/hresult_error.h"
#include "platform/win32/wide_text.h"

namespace veltrano::com {

Variant::Variant(Variant&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

Variant Variant::text(std::string_view utf8) {
    const std::wstring wide = win32::toWide(utf8);
    Variant v;
    v.value_.vt = VT_BSTR;
    v.value_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!v.value_.bstrVal) throw RunTimeError(7, "Out of memory");
    return v;
}

Variant Variant::int32(std::int32_t value) {
    Variant v;
    v.value_.vt = VT_I4;
    v.value_.lVal = value;
    return v;
}

Variant Variant::boolean(bool value) {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::changedTo(VARTYPE type) const {
    Variant out;
    const HRESULT hr =
        VariantChangeTypeEx(out.get(), const_cast<VARIANT*>(&value_), LOCALE_INVARIANT, 0, type);
    if (FAILED(hr)) throw errorFromHresult(hr, nullptr, "VariantChangeTypeEx");
    return out;
}

std::string Variant::toText() const {
    switch (value_.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_BSTR:
            return value_.bstrVal ? win32::toUtf8({value_.bstrVal, SysStringLen(value_.bstrVal)})
                                  : std::string();
        case VT_BOOL:
            return value_.boolVal ? "T" : "F";
        default:
            return changedTo(VT_BSTR).toText();
    }
}

std::int32_t Variant::toInt32() const {
    if (value_.vt == VT_I4) return value_.lVal;
    return changedTo(VT_I4).value_.lVal;
}

bool Variant::toBool() const {
    if (value_.vt == VT_BOOL) return value_.boolVal != VARIANT_FALSE;
    return changedTo(VT_BOOL).value_.boolVal != VARIANT_FALSE;
}

}  // namespace veltrano::com
