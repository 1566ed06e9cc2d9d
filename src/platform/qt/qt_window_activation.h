// The window-activation port on Qt.
#pragma once

#include "platform/window_activation.h"

namespace veltrano {

// Brings a top-level window of this program to the front by its title. Qt cannot reach
// another program's windows, so any other title is a window that is not there.
class QtWindowActivation final : public WindowActivationPort {
public:
    void activate(std::string_view title, bool waitForFocus) override;
};

}  // namespace veltrano
