// For the program's own layers (engine, dialogs) only: the host automation object held by
// the host connection object, whatever its state, for calling Eval and Do directly.
#pragma once

#include "host/automation.h"
#include "host/miProObj.h"

namespace veltrano::detail {

class MiAppAccess {
public:
    static const AutomationPtr& get(const miProObj& obj) { return obj.GetMiApp(); }
    // How obj converts host answers (its regional settings).
    static const AnswerReader& reader(const miProObj& obj) { return obj.reader_; }
};

// The host object of obj, or none.
inline AutomationPtr GetMiApp(const miProObj& obj) {
    return MiAppAccess::get(obj);
}

}  // namespace veltrano::detail
