// IUnknown for the tests' own COM objects, and the type information of IDispatch for their
// automation objects: they offer no type library, and their owner deletes them, never their
// last Release.
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace veltrano::replay {

template <class Interface>
class UnknownOf : public Interface {
public:
    explicit UnknownOf(REFIID offered) : offered_(offered) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == offered_) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;

private:
    const IID& offered_;
};

class DispatchObject : public UnknownOf<IDispatch> {
public:
    DispatchObject() : UnknownOf(IID_IDispatch) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
};

}  // namespace veltrano::replay
