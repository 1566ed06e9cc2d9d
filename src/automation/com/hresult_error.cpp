#include "automation/com/hresult_error.h"

#include <cstdio>

#include "platform/win32/wide_text.h"

namespace veltrano::com {

namespace {

std::string hexCode(HRESULT hr) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(hr));
    return buffer;
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

std::string bstrText(BSTR text) {
    return text ? win32::toUtf8({text, SysStringLen(text)}) : std::string();
}

}  // namespace

bool meansHostGone(HRESULT hr) noexcept {
    switch (static_cast<unsigned long>(hr)) {
        case 0x800706BAul:  // RPC_S_SERVER_UNAVAILABLE
        case 0x800706BEul:  // RPC_S_CALL_FAILED
        case 0x800706BFul:  // RPC_S_CALL_FAILED_DNE
        case 0x80010108ul:  // RPC_E_DISCONNECTED
        case 0x80010007ul:  // RPC_E_SERVER_DIED
        case 0x80010012ul:  // RPC_E_SERVER_DIED_DNE
        case 0x800401FDul:  // CO_E_OBJNOTCONNECTED
            return true;
        default:
            return false;
    }
}

std::string systemMessage(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) text = trimmed(win32::toUtf8({buffer, length}));
    if (buffer) LocalFree(buffer);
    return text.empty() ? "Automation error " + hexCode(hr) : text;
}

RunTimeError errorFromHresult(HRESULT hr, const EXCEPINFO* info, std::string_view source) {
    const std::string where(source);
    if (hr == DISP_E_EXCEPTION) {
        std::string description = info ? bstrText(info->bstrDescription) : std::string();
        if (description.empty() && info && info->scode != 0)
            description = systemMessage(info->scode);
        if (description.empty()) description = "Automation error: the host reported a failure";
        const std::string hostSource = info ? bstrText(info->bstrSource) : std::string();
        return RunTimeError(err::kAutomationFailure, description,
                            hostSource.empty() ? where : hostSource);
    }
    if (meansHostGone(hr)) return RunTimeError(err::kHostGone, {}, where);
    switch (hr) {
        case DISP_E_UNKNOWNNAME:
        case DISP_E_MEMBERNOTFOUND:
            return RunTimeError(kNoSuchMember, "Object doesn't support this property or method",
                                where);
        case DISP_E_TYPEMISMATCH:
            return RunTimeError(err::kTypeMismatch, {}, where);
        case DISP_E_OVERFLOW:
            return RunTimeError(err::kOverflow, {}, where);
        default:
            return RunTimeError(static_cast<std::int32_t>(hr), systemMessage(hr), where);
    }
}

}  // namespace veltrano::com
