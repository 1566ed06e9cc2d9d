// The beep port on Qt.
#pragma once

#include "platform/beep.h"

namespace veltrano {

class QtBeep final : public BeepPort {
public:
    void beep() override;
};

}  // namespace veltrano
