// The ports of a program without a screen: messages go to a stream, sounds and pointers
// are nothing, and no window can be brought forward.
#pragma once

#include <ostream>

#include "platform/beep.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include "platform/window_activation.h"

namespace veltrano::batch {

// Writes each box as "caption: text"; a box without a caption carries the application title.
class StreamMessageBox final : public MessageBoxPort {
public:
    explicit StreamMessageBox(std::ostream& out) : out_(out) {}
    void show(std::string_view text, std::string_view caption, MessageIcon icon) override;

private:
    std::ostream& out_;
};

class SilentBeep final : public BeepPort {
public:
    void beep() override {}
};

class NoBusyPointer final : public BusyPointerPort {
public:
    void setBusy(bool) override {}
};

class NoWindowActivation final : public WindowActivationPort {
public:
    void activate(std::string_view title, bool waitForFocus) override;
};

}  // namespace veltrano::batch
