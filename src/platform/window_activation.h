// Port: bringing another application's window to the front.
#pragma once

#include <string_view>

namespace veltrano {

// Brings another application's main window to the front, found by its title.
class WindowActivationPort {
public:
    virtual ~WindowActivationPort() = default;
    // Activates the top-level window whose title is title (or, failing that, begins with
    // it). With waitForFocus the call returns only once this program may hand the focus
    // over. Raises RunTimeError err::kInvalidProcedureCall when no window has that title.
    virtual void activate(std::string_view title, bool waitForFocus) = 0;
};

}  // namespace veltrano
