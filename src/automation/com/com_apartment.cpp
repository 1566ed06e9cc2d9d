#include "automation/com/com_apartment.h"

#include <objbase.h>

#include "automation/com/hresult_error.h"

namespace veltrano::com {

ComApartment::ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // RPC_E_CHANGED_MODE: the thread is already in another apartment; COM still works for it,
    // but this object must not uninitialise what it did not initialise.
    if (hr == RPC_E_CHANGED_MODE) return;
    if (FAILED(hr)) throw errorFromHresult(hr, nullptr, "CoInitializeEx");
    joined_ = true;
}

ComApartment::~ComApartment() {
    if (joined_) CoUninitialize();
}

}  // namespace veltrano::com
