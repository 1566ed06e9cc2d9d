// The replayed host as an automation object: IDispatch with the host's member names.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>

#include "replay/replay_host.h"

namespace veltrano::replay {

class ReplayDispatch final : public IDispatch {
public:
    // log receives one line per request; may be empty.
    ReplayDispatch(ReplayHost& host, std::function<void(const std::string&)> log);

    // Called each time the count of outside references falls back to none.
    void onLastClientGone(std::function<void()> callback) { lastClientGone_ = std::move(callback); }
    // References the server itself holds (the Running Object Table, a class factory), so
    // that "no outside reference" can be told.
    void setOwnReferences(ULONG count) { ownReferences_ = count; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

private:
    HRESULT answer(const Reply& reply, VARIANT* result, EXCEPINFO* exception);

    ReplayHost& host_;
    std::function<void(const std::string&)> log_;
    std::function<void()> lastClientGone_;
    ULONG references_ = 1;
    ULONG ownReferences_ = 1;
};

}  // namespace veltrano::replay
