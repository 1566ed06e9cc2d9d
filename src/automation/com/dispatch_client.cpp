#include "automation/com/dispatch_client.h"

#include <oleauto.h>

#include <algorithm>
#include <vector>

#include "automation/com/hresult_error.h"
#include "platform/win32/wide_text.h"

namespace veltrano::com {

namespace {

// EXCEPINFO owns its texts once Invoke has filled it.
struct ExceptionInfo {
    EXCEPINFO info{};
    ~ExceptionInfo() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
    void fillDeferred() {
        if (info.pfnDeferredFillIn) {
            info.pfnDeferredFillIn(&info);
            info.pfnDeferredFillIn = nullptr;
        }
    }
};

}  // namespace

DispatchClient::DispatchClient(ComPtr<IDispatch> object) : object_(std::move(object)) {
    if (!object_) throw RunTimeError(91, "Object variable not set");
}

DISPID DispatchClient::memberId(const std::wstring& member) {
    if (const auto known = ids_.find(member); known != ids_.end()) return known->second;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(member.c_str())};
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw errorFromHresult(hr, nullptr, win32::toUtf8(member));
    ids_.emplace(member, id);
    return id;
}

Variant DispatchClient::invoke(const std::wstring& member, WORD flags, std::span<Variant> arguments,
                               bool namedPut) {
    const DISPID id = memberId(member);
    // IDispatch takes its arguments last to first.
    std::vector<VARIANTARG> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(*it->get());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (namedPut) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    Variant result;
    ExceptionInfo exception;
    UINT badArgument = 0;
    const HRESULT hr =
        object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        namedPut ? nullptr : result.get(), &exception.info, &badArgument);
    if (FAILED(hr)) {
        exception.fillDeferred();
        throw errorFromHresult(hr, &exception.info, win32::toUtf8(member));
    }
    return result;
}

Variant DispatchClient::call(const std::wstring& member, std::span<Variant> arguments) {
    return invoke(member, DISPATCH_METHOD, arguments, false);
}

Variant DispatchClient::get(const std::wstring& member) {
    return invoke(member, DISPATCH_PROPERTYGET, {}, false);
}

void DispatchClient::put(const std::wstring& member, Variant value) {
    invoke(member, DISPATCH_PROPERTYPUT, std::span<Variant>(&value, 1), true);
}

}  // namespace veltrano::com
