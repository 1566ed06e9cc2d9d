// The busy-pointer port on Qt.
#pragma once

#include "platform/busy_pointer.h"

namespace veltrano {

// The wait cursor over the whole application. Setting the same state twice changes nothing,
// so the override stack never grows past one and is always undone.
class QtBusyPointer final : public BusyPointerPort {
public:
    ~QtBusyPointer() override;
    void setBusy(bool busy) override;

private:
    bool busy_ = false;
};

}  // namespace veltrano
