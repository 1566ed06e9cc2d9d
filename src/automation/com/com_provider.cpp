#include "automation/com/com_provider.h"

#include <objbase.h>
#include <oleauto.h>

#include "automation/com/com_automation.h"
#include "automation/com/hresult_error.h"
#include "platform/win32/wide_text.h"

namespace veltrano::com {

namespace {

RunTimeError cannotObtain(HRESULT hr, const std::wstring& progId, const char* what) {
    const std::string name = win32::toUtf8(progId);
    return RunTimeError(err::kNoRunningCopy,
                        describeError(err::kNoRunningCopy) + " (" + name + ": " + what + ", " +
                            systemMessage(hr) + ")",
                        name);
}

ComPtr<IDispatch> dispatchOf(ComPtr<IUnknown> object, const std::wstring& progId) {
    ComPtr<IDispatch> dispatch = object.query<IDispatch>();
    if (!dispatch) throw cannotObtain(E_NOINTERFACE, progId, "no automation interface");
    return dispatch;
}

}  // namespace

ComAutomationProvider::ComAutomationProvider(std::wstring progId) : progId_(std::move(progId)) {}

AutomationPtr ComAutomationProvider::attachRunning() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId_.c_str(), &clsid);
    if (FAILED(hr)) throw cannotObtain(hr, progId_, "class not registered");
    ComPtr<IUnknown> running;
    hr = GetActiveObject(clsid, nullptr, running.put());
    if (FAILED(hr) || !running) throw cannotObtain(hr, progId_, "no running copy");
    return std::make_shared<ComAutomation>(dispatchOf(std::move(running), progId_));
}

AutomationPtr ComAutomationProvider::startNew() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId_.c_str(), &clsid);
    if (FAILED(hr)) throw cannotObtain(hr, progId_, "class not registered");
    ComPtr<IUnknown> created;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IUnknown,
                          created.putVoid());
    if (FAILED(hr) || !created) throw cannotObtain(hr, progId_, "cannot start");
    auto host = std::make_shared<ComAutomation>(dispatchOf(std::move(created), progId_));
    host->SetVisible(true);
    return host;
}

}  // namespace veltrano::com
