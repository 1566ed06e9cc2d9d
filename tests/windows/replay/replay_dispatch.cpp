#include "replay/replay_dispatch.h"

#include <oleauto.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "platform/win32/wide_text.h"

namespace veltrano::replay {

namespace {

// A member's DISPID is its place in this list, from 1.
constexpr std::array<const wchar_t*, 12> kMembers{
    L"Eval",    L"Do",   L"RunCommand", L"RunMenuCommand", L"LastErrorCode", L"LastErrorMessage",
    L"Visible", L"Name", L"FullName",   L"ProductLevel",   L"Version",       L"Application"};

bool isTraffic(std::string_view member) {
    return member == "Eval" || member == "Do" || member == "RunCommand" ||
           member == "RunMenuCommand";
}

std::string shown(std::string_view member, std::string_view argument) {
    return std::string(member) + "(\"" + std::string(argument) + "\")";
}

// The one argument of a call or a put, as text (numbers in invariant form).
HRESULT argumentText(const DISPPARAMS* params, std::string& text) {
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeTypeEx(&converted, &params->rgvarg[0], LOCALE_INVARIANT,
                                           VARIANT_NOUSEROVERRIDE, VT_BSTR);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    text = win32::toUtf8({converted.bstrVal, SysStringLen(converted.bstrVal)});
    VariantClear(&converted);
    return S_OK;
}

BSTR bstrOf(const std::string& text) {
    const std::wstring wide = win32::toWideForDisplay(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

HRESULT setText(VARIANT* result, const std::string& text) {
    if (!result) return S_OK;
    result->vt = VT_BSTR;
    result->bstrVal = bstrOf(text);
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT fail(EXCEPINFO* exception, const std::string& description) {
    if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = bstrOf("MapInfo.Application");
        exception->bstrDescription = bstrOf(description);
        exception->scode = DISP_E_EXCEPTION;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

ReplayDispatch::ReplayDispatch(const std::vector<TraceStep>& steps,
                               std::function<void(const std::string&)> log)
    : log_(std::move(log)) {
    descriptions_ = {{"Name", "MapInfo Professional"},
                     {"FullName", "C:\\Program Files\\MapInfo\\Professional\\MapInfow.exe"},
                     {"ProductLevel", "200"},
                     {"Version", "1500"},
                     {"Application", "MapInfo Professional"}};
    for (const TraceStep& step : steps) {
        if (isTraffic(step.member)) {
            traffic_.push_back(step);
        } else if (descriptions_.count(step.member) && !step.failure) {
            descriptions_[step.member] = step.answer;
        }
    }
}

ULONG ReplayDispatch::Release() {
    const ULONG left = --references;
    // The object is the server's own for its whole life and is never deleted here.
    if (left == ownReferences_ && lastClientGone_) lastClientGone_();
    return left;
}

// Only the member's name is known: no member takes named arguments.
HRESULT ReplayDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    std::fill(ids, ids + count, DISPID_UNKNOWN);
    for (std::size_t m = 0; m < kMembers.size(); ++m) {
        if (_wcsicmp(names[0], kMembers[m]) == 0) ids[0] = static_cast<DISPID>(m + 1);
    }
    return count == 1 && ids[0] != DISPID_UNKNOWN ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ReplayDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
    if (badArgument) *badArgument = 0;
    if (result) VariantInit(result);
    const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (id < 1 || id > static_cast<DISPID>(kMembers.size())) return DISP_E_MEMBERNOTFOUND;
    const std::string member = win32::toUtf8(kMembers[id - 1]);
    const bool traffic = isTraffic(member);
    std::string argument;
    if (isPut || traffic) {
        if (const HRESULT hr = argumentText(params, argument); FAILED(hr)) return hr;
    }
    if (log_) log_(member + (isPut ? " = " : " ") + argument);
    if (traffic) return request(member, argument, result, exception);
    return isPut ? put(member, argument) : get(member, result);
}

HRESULT ReplayDispatch::request(const std::string& member, const std::string& argument,
                                VARIANT* result, EXCEPINFO* exception) {
    const std::string asked = "unexpected request " + shown(member, argument);
    if (next_ == traffic_.size())
        return unexpected(asked + " after the end of the trace", exception);
    const TraceStep& step = traffic_[next_];
    if (step.member != member || step.argument != argument) {
        const std::string expected = shown(step.member, step.argument);
        return unexpected(
            asked + "; trace line " + std::to_string(step.line) + " expects " + expected,
            exception);
    }
    ++next_;
    lastErrorCode_ = step.failure ? step.failure->code : 0;
    lastErrorMessage_ = step.failure ? step.failure->message : "";
    if (step.failure) return fail(exception, step.failure->message);
    return member == "Eval" ? setText(result, step.answer) : S_OK;
}

HRESULT ReplayDispatch::unexpected(std::string what, EXCEPINFO* exception) {
    if (log_) log_("UNEXPECTED: " + what);
    if (firstProblem_.empty()) firstProblem_ = what;
    return fail(exception, "replay: " + what);
}

// Only the state members take a put.
HRESULT ReplayDispatch::put(const std::string& member, const std::string& argument) {
    if (member == "Visible") {
        visible_ = argument != "0" && argument != "False" && argument != "F";
        return S_OK;
    }
    if (member != "LastErrorCode") return DISP_E_MEMBERNOTFOUND;
    std::int32_t code = 0;
    const auto [end, error] =
        std::from_chars(argument.data(), argument.data() + argument.size(), code);
    if (error != std::errc() || end != argument.data() + argument.size()) {
        return DISP_E_TYPEMISMATCH;
    }
    lastErrorCode_ = code;
    if (code == 0) lastErrorMessage_.clear();
    return S_OK;
}

HRESULT ReplayDispatch::get(const std::string& member, VARIANT* result) {
    if (!result) return S_OK;
    if (member == "Visible") {
        result->vt = VT_BOOL;
        result->boolVal = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (member == "LastErrorCode") {
        result->vt = VT_I4;
        result->lVal = lastErrorCode_;
    } else {
        return setText(result,
                       member == "LastErrorMessage" ? lastErrorMessage_ : descriptions_[member]);
    }
    return S_OK;
}

}  // namespace veltrano::replay
