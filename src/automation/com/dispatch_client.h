// Late binding by member name on one IDispatch: the way a script calls an automation object.
#pragma once

#include <oaidl.h>

#include <map>
#include <span>
#include <string>

#include "automation/com/com_ptr.h"
#include "automation/com/variant.h"

namespace veltrano::com {

class DispatchClient {
public:
    // Raises RunTimeError when object is empty.
    explicit DispatchClient(ComPtr<IDispatch> object);

    // Each raises the RunTimeError that errorFromHresult gives for a failure; source is the
    // member name. Arguments are passed in their natural (left to right) order.
    Variant call(const std::wstring& member, std::span<Variant> arguments = {});
    Variant get(const std::wstring& member);
    void put(const std::wstring& member, Variant value);

    IDispatch* object() const noexcept { return object_.get(); }

private:
    DISPID memberId(const std::wstring& member);
    Variant invoke(const std::wstring& member, WORD flags, std::span<Variant> arguments,
                   bool namedPut);

    ComPtr<IDispatch> object_;
    // Names are resolved once: every lookup is a round trip to the host's process.
    std::map<std::wstring, DISPID> ids_;
};

}  // namespace veltrano::com
